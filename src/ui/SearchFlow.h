#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace gw::ui {

// "Next >>" of Step 2: searches the page for matching links behind the wait dialog, then shows
// the selection, or the error page and Step 2 again as it was. An invalid file spec is
// reported in `instruction` and starts nothing.
void RunSearch(QWidget* criteriaPage, QLabel* instruction, const QString& typedSpec);

}  // namespace gw::ui
