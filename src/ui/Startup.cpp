#include "ui/Startup.h"

#include "app/Navigation.h"
#include "ui/Form1.h"

namespace gw::ui {

void StartWizard() { app::showPage<Form1>(); }

}  // namespace gw::ui
