#pragma once

#include <QString>

#include "retrieval/PageFetch.h"

class QWidget;

namespace gw::ui {

// "Next >>" of Step 1: fetches the page at the typed address behind the wait dialog, with
// `addressPage` hidden meanwhile, and fills the wizard state's page. The caller shows the
// outcome. With `runScripts`, the page renderer loads the page and its scripts run first.
retrieval::FetchOutcome RunPageFetch(QWidget* addressPage, const QString& typed,
                                     bool runScripts = false);

// Whether the page renderer is installed, for the box that asks for it.
bool CanRunScripts();

// The error page's text for a fetch that did not bring a page.
QString FetchFailureText(retrieval::FetchOutcome outcome);

}  // namespace gw::ui
