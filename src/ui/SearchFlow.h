#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace gw::ui {

inline const char* const kNothingFoundMessage =
    "The webpage was searched, but no files matching your criteria were found. It is possible "
    "that the webpage address you entered is invalid, or the filename criteria you entered was "
    "not correct. Check the webpage address and your file criteria and try again.";

inline const char* const kInvalidPatternMessage =
    "The file specification is not valid: a \"[\" has no closing \"]\". Correct it and press "
    "\"Next >>\" again.";

// "Next >>" of Step 2: searches the page for matching links behind the wait dialog, then shows
// the selection, or the error page and Step 2 again as it was. An invalid specification is
// reported in `instruction` and starts nothing.
void RunSearch(QWidget* specificationPage, QLabel* instruction, const QString& specification);

}  // namespace gw::ui
