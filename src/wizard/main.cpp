#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>

#include "platform/TransferEngine.h"
#include "ui/Startup.h"
#include "ui/StopSignals.h"

namespace {

// Without a display Qt would abort with a long platform-plugin message; one sentence says
// what is wrong.
bool displayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char** argv) {
    if (!displayAvailable()) {
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
