#include "ui/DownloadFlow.h"

#include <QApplication>
#include <QWidget>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/Quit.h"
#include "app/WizardState.h"
#include "app/WizardTransfer.h"
#include "platform/Dialup.h"
#include "settings/AddressHistory.h"
#include "transfer/DownloadRun.h"
#include "transfer/FileName.h"
#include "transfer/SpeedBudget.h"
#include "transfer/TransferFigures.h"
#include "ui/ChecksumSummary.h"
#include "ui/DisplayText.h"
#include "ui/EventPump.h"
#include "ui/FinishedPage.h"
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

QString UpToDateNote(std::size_t count) {
    if (count == 0)
        return {};
    if (count == 1)
        return QStringLiteral("1 file was already up to date and was not fetched again.");
    return QStringLiteral("%1 files were already up to date and were not fetched again.")
        .arg(count);
}

DownloadFlowReport RunDownload(QWidget* readyPage, std::uint64_t bytesPerSecond) {
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
    wait->startFileProgress();
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
    transfer::RateMeter meter;
    auto figuresShown = platform::clock().now() - kFiguresInterval;
    events.started = [&](std::size_t index) {
        wait->setMessage(
            DownloadCaption(static_cast<int>(index) + 1, count, addresses[index], hangUpAtEnd));
        meter = {};
    };
    // By the clock, not per turn: the figures are for reading, and the run must not wait on
    // them.
    events.progress = [&](const std::vector<transfer::FileStatus>& files) {
        const auto now = platform::clock().now();
        if (now - figuresShown < kFiguresInterval)
            return;
        figuresShown = now;
        for (const transfer::FileStatus& file : files) {
            if (!file.started || file.finished)
                continue;
            meter.add(now, file.bytes);
            wait->setFileProgress(
                file.bytes, file.length,
                QString::fromStdString(transfer::ProgressFigures(file.bytes, file.length, meter)));
            return;
        }
    };
    events.finished = [](std::size_t, const transfer::FileStatus&) {
        // A Cancel click that came in during the file is seen before the next one.
        QApplication::processEvents();
    };
    QStringList checksumNotes;
    events.checksumNote = [&checksumNotes](const transfer::ChecksumNote& note) {
        // As the command line says it, as a sentence of its own.
        QString line = displayText(
            transfer::ChecksumNoteText(note, [](const std::string& name) { return name; }));
        line[0] = line[0].toUpper();
        checksumNotes << line + QLatin1Char('.');
    };
    transfer::RunOptions options;
    options.emptyFileAfterFailedFetch = true;
    options.referrerPage = state.FetchedAddress;
    options.checksumLists = state.ChecksumLists;
    // The budget is the run's own: it starts empty, and the wizard's next page fetch is free.
    transfer::LimitSpeed(app::transfer(), bytesPerSecond);
    const std::vector<transfer::FileStatus> files =
        transfer::DownloadAll(app::transfer(), addresses, state.DestinationFolder, options, events);
    transfer::LimitSpeed(app::transfer(), 0);
    wait->setAbortHandler({});

    bool cancelled = *closed;
    DownloadFlowReport report;
    for (const transfer::FileStatus& file : files) {
        const transfer::FileOutcome outcome = file.result.outcome;
        cancelled = cancelled || !file.started || outcome == transfer::FileOutcome::Aborted;
        // A copy the server confirmed is as done as a file that arrived.
        report.upToDate += outcome == transfer::FileOutcome::Unchanged;
        if (outcome != transfer::FileOutcome::Written &&
            outcome != transfer::FileOutcome::Unchanged)
            state.DownloadIncomplete = true;
    }
    // The later of two files of one name replaces the earlier in the folder.
    std::unordered_set<std::string> names;
    std::size_t replaced = 0;
    for (const std::string& address : addresses)
        replaced += !names.insert(transfer::FileNameFromAddress(address)).second;
    report.notes << ChecksumSummary(files);
    for (const QString& note : {UpToDateNote(report.upToDate), ReplacedNote(replaced)}) {
        if (!note.isEmpty())
            report.notes << note;
    }
    report.notes << checksumNotes;
    if (cancelled) {
        state.DownloadIncomplete = true;
        report.outcome = DownloadFlowOutcome::Cancelled;
        return report;
    }
    if (hangUpAtEnd)
        platform::HangUpDialup(platform::dialupService(), platform::clock(), app::pumpPaintOnly);
    notice.ranToEnd(files, state.DestinationFolder);
    report.outcome = state.DownloadIncomplete ? DownloadFlowOutcome::DownloadedErrors
                                              : DownloadFlowOutcome::Downloaded;
    return report;
}

}  // namespace gw::ui
