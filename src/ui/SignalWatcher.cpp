#include "ui/SignalWatcher.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include "app/Quit.h"
#include "platform/PrivateFolder.h"
#include "platform/StopSignals.h"
#include "retrieval/TempFolder.h"
#include "ui/EventPump.h"
#include "ui/Navigation.h"
#include "ui/WaitDialog.h"

namespace gw::ui {
namespace {

// While the wait dialog is loaded, work runs below this call, in the flow that showed it: the
// quit waits until that flow has unwound (a download's part file gone) and given the dialog up.
// A fetch the signal stopped leaves its temporary page, as a failed one does; the program's
// end takes it too.
void QuitOnceTheWorkHasEnded(bool workStopped) {
    if (loadedPage<WaitDialog>()) {
        QTimer::singleShot(EventPump::kInterval, qApp,
                           [workStopped] { QuitOnceTheWorkHasEnded(workStopped); });
        return;
    }
    if (workStopped)
        platform::RemoveFile(retrieval::WizardTempFile());
    app::Quit();
}

void QuitOnSignal(platform::StopSignal signal) {
    app::setExitStatus(platform::ExitStatusFor(signal));
    WaitDialog* wait = loadedPage<WaitDialog>();
    if (wait)
        wait->abortWork();
    QuitOnceTheWorkHasEnded(wait != nullptr);
}

}  // namespace

bool QuitOnStopSignals() {
    const int pipe = platform::CatchStopSignals({"grabwright", false});
    if (pipe < 0)
        return false;
    auto* notifier = new QSocketNotifier(pipe, QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier] {
        // One signal is all this hears: the handler ends the program on a second one.
        if (const platform::StopSignal signal = platform::TakeStopSignal();
            signal != platform::StopSignal::None) {
            notifier->setEnabled(false);
            QuitOnSignal(signal);
        }
    });
    return true;
}

}  // namespace gw::ui
