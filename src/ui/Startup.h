#pragma once

namespace gw::ui {

// Shows the welcome page.
void StartWizard();

}  // namespace gw::ui
