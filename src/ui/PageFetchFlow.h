#pragma once

#include <QString>

class QWidget;

namespace gw::ui {

inline const char* const kFetchFailedMessage =
    "The webpage at the address you entered is could not be retrieved.  Check the address.  If "
    "the address is correct, the server may not be available at the current time.";
inline const char* const kEmptyPageMessage =
    "The webpage you entered is invalid or cannot be reached at this time. Check the address or "
    "try again later.";

// "Next >>" of Step 1: fetches the page behind the wait dialog, then shows Step 2, or the error
// page and the address page again as it was.
void RunPageFetch(QWidget* addressPage, const QString& typed);

}  // namespace gw::ui
