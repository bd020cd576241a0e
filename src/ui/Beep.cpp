#include "ui/Beep.h"

#include <QApplication>

namespace gw::ui {
namespace {
std::function<void()>& beepHook() {
    static std::function<void()> installed;
    return installed;
}
}  // namespace

void Beep() {
    if (beepHook())
        beepHook()();
    else
        QApplication::beep();
}

void setBeepHook(std::function<void()> hook) {
    beepHook() = std::move(hook);
}

}  // namespace gw::ui
