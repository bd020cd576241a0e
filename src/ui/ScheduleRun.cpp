#include "ui/ScheduleRun.h"

#include <QElapsedTimer>
#include <QWidget>

#include "app/Quit.h"
#include "app/WizardState.h"
#include "platform/UserFolders.h"
#include "settings/AddressHistory.h"
#include "transfer/ShortcutFile.h"
#include "ui/BusyCursor.h"
#include "ui/WaitDialog.h"

namespace gw::ui {

std::string ShortcutFolder() {
    std::string folder = platform::AddOnBaseFolder();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder + "Tardifetch/";
}

ScheduleRunOutcome RunScheduling(QWidget* schedulePage) {
    app::WizardState& state = app::wizardState();
    settings::SaveAddressToHistory(state.PageAddress, state.HistoryCount);

    BusyCursor busy;
    WaitDialog* wait = ShowWait(QStringLiteral("Please wait... Scheduling downloads..."));
    schedulePage->hide();
    const int count = state.SelectedCount;
    wait->startProgress(count);

    const std::string folder = ShortcutFolder();
    bool allWritten = true;
    // The run cannot be stopped, so the windows only repaint; no click gets through.
    QElapsedTimer sincePaint;
    sincePaint.start();
    for (int i = 1; i <= count; ++i) {
        wait->setProgress(i);
        // The others are still worth writing when one fails.
        if (!transfer::WriteShortcut(folder, state.SelectedFiles[i]))
            allWritten = false;
        if (sincePaint.elapsed() >= 20) {
            app::pumpPaintOnly();
            sincePaint.restart();
        }
    }
    // Even after a failure: "Finish" must not open a folder that the scheduled files never
    // reach.
    state.DownloadsScheduled = true;
    return allWritten ? ScheduleRunOutcome::Scheduled : ScheduleRunOutcome::ShortcutsFailed;
}

}  // namespace gw::ui
