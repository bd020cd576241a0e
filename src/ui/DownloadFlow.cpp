#include "ui/DownloadFlow.h"

#include <QApplication>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "app/Quit.h"
#include "app/WizardState.h"
#include "app/WizardTransfer.h"
#include "platform/Dialup.h"
#include "settings/AddressHistory.h"
#include "transfer/DownloadRun.h"
#include "ui/DisplayText.h"
#include "ui/EventPump.h"
#include "ui/RunEndNotice.h"
#include "ui/WaitDialog.h"

namespace gw::ui {

QString DownloadCaption(int index, int count, const std::string& address, bool hangUpAtEnd) {
    QString caption = QStringLiteral("Please wait... Downloading file %1 of %2 (%3)")
                          .arg(index)
                          .arg(count)
                          .arg(displayText(address));
    if (hangUpAtEnd)
        caption += QStringLiteral(
            "  GrabWright will automatically disconnect from the Internet when the downloads "
            "are complete.");
    return caption;
}

DownloadFlowOutcome RunDownload(QWidget* readyPage) {
    app::WizardState& state = app::wizardState();
    state.ShowWaitCancel = true;
    state.CancelRequested = false;
    state.DownloadIncomplete = false;
    const RunEndNotice notice(readyPage->window());

    // A fresh dialog, so that it takes up the flag and shows its Cancel button.
    UnloadWait();
    auto* wait = new WaitDialog;
    // Closing the dialog is the way out of a file that never finishes. The flag outlives the
    // run, in case the close arrives while the dialog is on its way out.
    auto closed = std::make_shared<bool>(false);
    wait->setAbortHandler([closed] { *closed = true; });

    settings::SaveAddressToHistory(state.PageAddress, state.HistoryCount);

    wait->setMessage(QStringLiteral("Please wait... Downloading files..."));
    wait->show();
    readyPage->hide();

    const bool hangUpAtEnd = state.HangUpOnQuit.value_or(false);
    const int count = state.SelectedCount;
    const std::vector<std::string> addresses(state.SelectedFiles.begin() + 1,
                                             state.SelectedFiles.begin() + 1 + count);
    EventPump pump(LetThrough::Everything);
    transfer::RunEvents events;
    events.request = [&pump, &state, closed] {
        pump();
        if (*closed)
            return transfer::RunRequest::AbortNow;
        return state.CancelRequested ? transfer::RunRequest::FinishStarted
                                     : transfer::RunRequest::Continue;
    };
    events.started = [&](std::size_t index) {
        wait->setMessage(
            DownloadCaption(static_cast<int>(index) + 1, count, addresses[index], hangUpAtEnd));
    };
    events.finished = [](std::size_t, const transfer::FileStatus&) {
        // A Cancel click that came in during the file is seen before the next one.
        QApplication::processEvents();
    };
    transfer::RunOptions options;
    options.emptyFileAfterFailedFetch = true;
    options.referrerPage = state.FetchedAddress;
    const std::vector<transfer::FileStatus> files =
        transfer::DownloadAll(app::transfer(), addresses, state.DestinationFolder, options, events);
    wait->setAbortHandler({});

    bool cancelled = *closed;
    for (const transfer::FileStatus& file : files) {
        cancelled =
            cancelled || !file.started || file.result.outcome == transfer::FileOutcome::Aborted;
        if (file.result.outcome != transfer::FileOutcome::Written)
            state.DownloadIncomplete = true;
    }
    if (cancelled) {
        state.DownloadIncomplete = true;
        return DownloadFlowOutcome::Cancelled;
    }
    if (hangUpAtEnd)
        platform::HangUpDialup(platform::dialupService(), platform::clock(), app::pumpPaintOnly);
    notice.ranToEnd(files, state.DestinationFolder);
    return state.DownloadIncomplete ? DownloadFlowOutcome::DownloadedErrors
                                    : DownloadFlowOutcome::Downloaded;
}

}  // namespace gw::ui
