#include "ui/SaveListFlow.h"

#include <QWidget>
#include <chrono>

#include "app/WizardState.h"
#include "app/WizardTransfer.h"
#include "platform/CurlSetup.h"
#include "platform/FileWriter.h"
#include "transfer/DownloadRun.h"
#include "ui/BusyCursor.h"
#include "ui/EventPump.h"
#include "ui/WaitDialog.h"

namespace gw::ui {
namespace {

// The file the user named, put in place whole or not at all, as every file this program writes.
bool WriteWhole(const QString& path, const std::string& text) {
    const std::string bytes = path.toStdString();
    const std::size_t slash = bytes.rfind('/');
    if (slash == std::string::npos)
        return false;
    platform::FileWriter file(bytes.substr(0, slash + 1), bytes.substr(slash + 1));
    return file.open() && file.write(text.data(), text.size()) && file.commit();
}

}  // namespace

transfer::FileListFormat ListFormatForPath(const QString& path) {
    if (path.endsWith(QStringLiteral(".meta4"), Qt::CaseInsensitive))
        return transfer::FileListFormat::Metalink;
    if (path.endsWith(QStringLiteral(".aria2"), Qt::CaseInsensitive))
        return transfer::FileListFormat::Aria2;
    return transfer::FileListFormat::Plain;
}

QString RunSaveList(QWidget* page, const std::vector<std::string>& addresses, const QString& path) {
    const app::WizardState& state = app::wizardState();
    const transfer::FileListFormat format = ListFormatForPath(path);
    transfer::RunOptions options;
    options.referrerPage = state.FetchedAddress;
    // A plain list names no hash: no list is fetched for it.
    if (format != transfer::FileListFormat::Plain)
        options.checksumLists = state.ChecksumLists;
    std::vector<transfer::ListedFile> files;
    {
        BusyCursor busy;
        if (!options.checksumLists.empty()) {
            ShowWait(QStringLiteral("Please wait..."));
            page->hide();
        }
        EventPump pump(LetThrough::Nothing);
        transfer::RunEvents events;
        events.request = [&pump] {
            pump();
            return transfer::RunRequest::Continue;
        };
        files = transfer::FilesToHandOn(app::transfer(), addresses, options, events);
        if (!options.checksumLists.empty()) {
            UnloadWait();
            page->show();
        }
    }
    const std::string text = transfer::WriteFileList(format, files, platform::kUserAgent,
                                                     std::chrono::system_clock::now(), {});
    if (WriteWhole(path, text))
        return {};
    return QStringLiteral(
               "The list could not be saved to %1. Check that the folder exists and "
               "that you may write to it.")
        .arg(path);
}

}  // namespace gw::ui
