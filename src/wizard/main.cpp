#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <cstdio>

#include "platform/Display.h"
#include "platform/TransferEngine.h"
#include "ui/SignalWatcher.h"
#include "ui/Startup.h"

int main(int argc, char** argv) {
    // Without a display Qt would abort with a long platform-plugin message; one sentence says
    // what is wrong.
    if (!gw::platform::DisplayAvailable()) {
        std::fputs(
            "grabwright: no display to open the wizard on (DISPLAY and WAYLAND_DISPLAY are "
            "not set); start it from a desktop session.\n",
            stderr);
        return 1;
    }
    gw::platform::InitTransfers();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("GrabWright Plus"));
    // Every page, the wait dialog and the error page take the application's icon; the desktop
    // file name lets a Wayland shell match the windows to the launcher entry.
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/grabwright-48.png"));
    icon.addFile(QStringLiteral(":/icons/grabwright-256.png"));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("grabwright"));
    QApplication::setQuitOnLastWindowClosed(false);
    if (!gw::ui::QuitOnStopSignals()) {
        std::fputs("grabwright: the signal handlers could not be set\n", stderr);
        return 1;
    }
    gw::ui::StartWizard();
    return QApplication::exec();
}
