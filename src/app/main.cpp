#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "platform/UrlTransfer.h"
#include "ui/Startup.h"

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
    QApplication::setQuitOnLastWindowClosed(false);
    gw::ui::StartWizard();
    return QApplication::exec();
}
