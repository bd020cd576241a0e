#include "ui/RunEndNotice.h"

#include "platform/Dialup.h"
#include "ui/DesktopNotifications.h"
#include "ui/DisplayText.h"
#include "ui/FileManager.h"

namespace gw::ui {
namespace {

std::string lastName(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    const std::size_t slash = folder.rfind('/');
    return slash == std::string::npos || slash + 1 == folder.size() ? folder
                                                                    : folder.substr(slash + 1);
}

}  // namespace

// As the command line's summary counts them: a copy the server confirmed did not arrive.
RunCounts CountFiles(const std::vector<transfer::FileStatus>& files) {
    RunCounts counts;
    for (const transfer::FileStatus& file : files) {
        if (!file.started)
            continue;
        switch (file.result.outcome) {
            case transfer::FileOutcome::Written:
                ++counts.downloaded;
                break;
            case transfer::FileOutcome::Unchanged:
                ++counts.upToDate;
                break;
            default:
                ++counts.failed;
        }
    }
    return counts;
}

QString RunEndSummary(RunCounts counts) {
    return counts.failed > 0 ? QStringLiteral("Downloads finished with failures")
                             : QStringLiteral("Downloads finished");
}

QString RunEndText(RunCounts counts, const std::string& folder) {
    QString text =
        QStringLiteral("%1 %2 downloaded to %3")
            .arg(counts.downloaded)
            .arg(counts.downloaded == 1 ? QStringLiteral("file") : QStringLiteral("files"))
            .arg(displayText(lastName(folder)));
    if (counts.upToDate > 0)
        text += QStringLiteral(", %1 already up to date").arg(counts.upToDate);
    if (counts.failed > 0)
        text += QStringLiteral(", %1 failed").arg(counts.failed);
    return text + QLatin1Char('.');
}

RunEndNotice::RunEndNotice(QWidget* window) : window_(window), started_(platform::clock().now()) {}

void RunEndNotice::ranToEnd(const std::vector<transfer::FileStatus>& files,
                            const std::string& folder) const {
    if (!window_ || window_->isActiveWindow() || platform::clock().now() - started_ <= kLongRun)
        return;
    const RunCounts counts = CountFiles(files);
    DesktopNotifications::instance().show(
        RunEndSummary(counts), RunEndText(counts, folder), QStringLiteral("open-folder"),
        QStringLiteral("Open Folder"), [folder] { OpenFolderInFileManager(folder); });
}

}  // namespace gw::ui
