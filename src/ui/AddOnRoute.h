#pragma once

#include "platform/AddOn.h"
#include "ui/Navigation.h"
#include "ui/SchedulePage.h"

namespace gw::ui {

// With the add-on installed the scheduling page stands between Step 3 and Step 4, whichever
// way the user goes; without it `Across`, the step on the other side, is shown.
template <class Across>
void navigateAcrossSchedule(QWidget* from) {
    if (platform::AddOnPresent())
        navigate<SchedulePage>(from);
    else
        navigate<Across>(from);
}

}  // namespace gw::ui
