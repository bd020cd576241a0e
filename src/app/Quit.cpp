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

void endForReal() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        widget->hide();
    QCoreApplication::exit(0);
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

void Quit() {
    if (wizardState().HangUpOnQuit.value_or(false)) {
        // Input that arrives during the wait would otherwise be delivered after it.
        for (QWidget* widget : QApplication::topLevelWidgets())
            widget->setEnabled(false);
        platform::HangUpDialup(platform::dialupService(), platform::clock(), pumpPaintOnly);
    }
    EndProgram();
}

}  // namespace gw::app
