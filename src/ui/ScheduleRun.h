#pragma once

#include <string>

class QWidget;

namespace gw::ui {

enum class ScheduleRunOutcome {
    Scheduled,        // one shortcut per selected file
    ShortcutsFailed,  // one or more shortcuts could not be written; the others were
};

// Where the add-on looks for shortcuts, ending in "/".
std::string ShortcutFolder();

// "Schedule" of the scheduling page: one shortcut per selected file behind the wait dialog
// (left loaded for the caller to unload) with the scheduling page hidden.
ScheduleRunOutcome RunScheduling(QWidget* schedulePage);

}  // namespace gw::ui
