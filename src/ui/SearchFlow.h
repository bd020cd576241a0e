#pragma once

#include <QString>

class QWidget;

namespace gw::ui {

enum class SearchOutcome {
    InvalidPattern,  // the typed text makes no pattern; nothing was started
    NothingFound,    // FoundCount is 0
    Found,           // FoundList holds the matches, duplicates removed
};

// "Next >>" of Step 2: searches the fetched page for links whose file names match the typed
// wildcard, behind the wait dialog, with `fileSpecPage` hidden meanwhile. The caller shows the
// outcome.
// With `alsoMedia`, pictures, videos and sounds count too.
SearchOutcome RunSearch(QWidget* fileSpecPage, const QString& typedSpec, bool alsoMedia);

}  // namespace gw::ui
