#include "app/Quit.h"

#include <QApplication>
#include <QWidget>

#include "app/WizardState.h"
#include "platform/Dialup.h"

namespace gw::app {
namespace {

std::function<void()>& ender() {
    static std::function<void()> installed;
    return installed;
}

int& exitStatus() {
    static int status = 0;
    return status;
}

bool& ending() {
    static bool hidden = false;
    return hidden;
}

void endForReal() {
    ending() = true;
    for (QWidget* widget : QApplication::topLevelWidgets())
        widget->hide();
    QCoreApplication::exit(exitStatus());
}

}  // namespace

void pumpPaintOnly() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void EndProgram() {
    if (ender())
        ender()();
    else
        endForReal();
}

void setProgramEnder(std::function<void()> newEnder) {
    ender() = std::move(newEnder);
}

void setExitStatus(int status) {
    exitStatus() = status;
}

bool ProgramEnding() {
    return ending();
}

void Quit() {
    // A signal may ask for the quit while a Cancel's hang-up waits: that one goes on and ends.
    static bool quitting = false;
    if (quitting)
        return;
    quitting = true;
    if (wizardState().HangUpOnQuit.value_or(false)) {
        // Input that arrives during the wait would otherwise be delivered after it.
        for (QWidget* widget : QApplication::topLevelWidgets())
            widget->setEnabled(false);
        platform::HangUpDialup(platform::dialupService(), platform::clock(), pumpPaintOnly);
    }
    quitting = false;
    EndProgram();
}

}  // namespace gw::app
