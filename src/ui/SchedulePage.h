#pragma once

#include "ui/WizardPage.h"

namespace gw::ui {

// Offered when the add-on is installed: the selected files can be left to it for later
// ("Schedule") or downloaded now ("Next >>").
class SchedulePage : public WizardPage {
    Q_OBJECT
  public:
    explicit SchedulePage(QWidget* parent = nullptr);

  private:
    void schedule();
};

}  // namespace gw::ui
