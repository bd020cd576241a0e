#include "ui/Startup.h"

#include "ui/Navigation.h"
#include "ui/WelcomePage.h"

namespace gw::ui {

void StartWizard() {
    showPage<WelcomePage>();
}

}  // namespace gw::ui
