#pragma once

#include <QString>

class QWidget;

namespace gw::ui {

// "Next >>" of Step 1: fetches the page behind the wait dialog, then shows Step 2, or the error
// page and the address page again as it was.
void RunPageFetch(QWidget* addressPage, const QString& typed);

}  // namespace gw::ui
