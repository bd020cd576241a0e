#include "ui/Startup.h"

#include "app/Navigation.h"
#include "ui/WelcomePage.h"

namespace gw::ui {

void StartWizard() {
    app::showPage<WelcomePage>();
}

}  // namespace gw::ui
