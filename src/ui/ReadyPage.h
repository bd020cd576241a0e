#pragma once

#include "ui/WizardPage.h"

namespace gw::ui {

// The last look at the destination folder before anything is downloaded; "Next >>" runs the
// download.
class ReadyPage : public WizardPage {
    Q_OBJECT
  public:
    explicit ReadyPage(QWidget* parent = nullptr);

  private:
    void download();
};

}  // namespace gw::ui
