#pragma once

#include <functional>

namespace gw::ui {

// The desktop's alert sound.
void Beep();

// Tests cannot hear the beep, so they count it instead; nullptr restores the sound.
void setBeepHook(std::function<void()> hook);

}  // namespace gw::ui
