#include "ui/DownloadRun.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <memory>

#include "app/Quit.h"
#include "app/WizardState.h"
#include "app/WizardTransfer.h"
#include "platform/Dialup.h"
#include "settings/AddressHistory.h"
#include "transfer/DownloadFile.h"
#include "ui/DisplayText.h"
#include "ui/EventPump.h"
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

DownloadRunOutcome RunDownload(QWidget* readyPage) {
    app::WizardState& state = app::wizardState();
    state.ShowWaitCancel = true;
    state.CancelRequested = false;
    state.DownloadIncomplete = false;

    // A fresh dialog, so that it takes up the flag and shows its Cancel button.
    UnloadWait();
    auto* wait = new WaitDialog;
    // Closing the dialog is the way out of a file that never finishes. The flag outlives the
    // run, in case the close arrives while the dialog is on its way out.
    auto closed = std::make_shared<bool>(false);
    wait->setAbortHandler([closed] {
        *closed = true;
        app::transfer().abort();
    });

    settings::SaveAddressToHistory(state.PageAddress, state.HistoryCount);

    wait->messageLabel()->setText(QStringLiteral("Please wait... Downloading files..."));
    wait->show();
    readyPage->hide();

    const bool hangUpAtEnd = state.HangUpOnQuit.value_or(false);
    const int count = state.SelectedCount;
    EventPump pump(LetThrough::Everything);
    transfer::DownloadHooks hooks;
    hooks.progress = [&pump, closed](std::uint64_t, std::uint64_t) {
        pump();
        return !*closed;
    };
    hooks.stopRetrying = [&state, closed] { return state.CancelRequested || *closed; };

    bool cancelled = false;
    for (int i = 1; i <= count; ++i) {
        if (state.CancelRequested || *closed) {
            cancelled = true;
            break;
        }
        const std::string& address = state.SelectedFiles[i];
        wait->messageLabel()->setText(DownloadCaption(i, count, address, hangUpAtEnd));
        const transfer::DownloadResult result =
            transfer::DownloadFile(app::transfer(), address, state.DestinationFolder, hooks);
        if (result.outcome == transfer::FileOutcome::Aborted || *closed) {
            cancelled = true;
            break;
        }
        if (result.outcome != transfer::FileOutcome::Written)
            state.DownloadIncomplete = true;
        // A Cancel click that came in during the file is seen before the next one.
        QApplication::processEvents();
    }
    wait->setAbortHandler({});

    if (cancelled) {
        state.DownloadIncomplete = true;
        return DownloadRunOutcome::Cancelled;
    }
    if (hangUpAtEnd)
        platform::HangUpDialup(platform::dialupService(), platform::clock(), app::pumpPaintOnly);
    return state.DownloadIncomplete ? DownloadRunOutcome::DownloadedErrors
                                    : DownloadRunOutcome::Downloaded;
}

}  // namespace gw::ui
