#pragma once

#include <QString>

#include "retrieval/PageFetch.h"

class QWidget;

namespace gw::ui {

// "Next >>" of Step 1: fetches the page at the typed address behind the wait dialog, with
// `addressPage` hidden meanwhile, and fills the wizard state's page. The caller shows the
// outcome.
retrieval::FetchOutcome RunPageFetch(QWidget* addressPage, const QString& typed);

// The error page's text for a fetch that did not bring a page.
QString FetchFailureText(retrieval::FetchOutcome outcome);

}  // namespace gw::ui
