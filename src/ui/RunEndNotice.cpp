#include "ui/RunEndNotice.h"

#include "platform/Dialup.h"
#include "ui/DesktopNotifications.h"
#include "ui/DisplayText.h"
#include "ui/FileManager.h"

namespace gw::ui {
namespace {

// Counted as downloaded: the user has the file in the folder after the run.
bool arrived(transfer::FileOutcome outcome) {
    return outcome == transfer::FileOutcome::Written || outcome == transfer::FileOutcome::Unchanged;
}

std::string lastName(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    const std::size_t slash = folder.rfind('/');
    return slash == std::string::npos || slash + 1 == folder.size() ? folder
                                                                    : folder.substr(slash + 1);
}

}  // namespace

RunCounts CountFiles(const std::vector<transfer::FileStatus>& files) {
    RunCounts counts;
    for (const transfer::FileStatus& file : files)
        ++(arrived(file.result.outcome) ? counts.downloaded : counts.failed);
    return counts;
}

QString RunEndText(RunCounts counts, const std::string& folder) {
    QString text =
        QStringLiteral("%1 %2 downloaded to %3")
            .arg(counts.downloaded)
            .arg(counts.downloaded == 1 ? QStringLiteral("file") : QStringLiteral("files"))
            .arg(displayText(lastName(folder)));
    if (counts.failed > 0)
        text += QStringLiteral(", %1 failed").arg(counts.failed);
    return text + QLatin1Char('.');
}

RunEndNotice::RunEndNotice(QWidget* window) : window_(window), started_(platform::clock().now()) {}

void RunEndNotice::ranToEnd(const std::vector<transfer::FileStatus>& files,
                            const std::string& folder) const {
    if (!window_ || window_->isActiveWindow() || platform::clock().now() - started_ <= kLongRun)
        return;
    const QString title = QStringLiteral("GrabWright Plus");
    DesktopNotifications::instance().show(
        title, RunEndText(CountFiles(files), folder), QStringLiteral("open-folder"),
        QStringLiteral("Open Folder"), [folder] { OpenFolderInFileManager(folder); });
}

}  // namespace gw::ui
