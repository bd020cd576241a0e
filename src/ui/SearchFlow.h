#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace gw::ui {

// "Next >>" of Step 2: searches the page for matching links behind the wait dialog, then shows
// the selection, or the error page and Step 2 again as it was. An invalid specification is
// reported in `instruction` and starts nothing.
void RunSearch(QWidget* specificationPage, QLabel* instruction, const QString& specification);

}  // namespace gw::ui
