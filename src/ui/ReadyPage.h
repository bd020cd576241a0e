#pragma once

#include "ui/WizardPage.h"

class QCheckBox;
class QSpinBox;

namespace gw::ui {

// The last look at the destination folder before anything is downloaded; "Next >>" runs the
// download.
class ReadyPage : public WizardPage {
    Q_OBJECT
  public:
    explicit ReadyPage(QWidget* parent = nullptr);

  private:
    void download();
    // Keeps the speed limit as the page shows it for the next run (0 when unticked).
    int rememberSpeedLimit();

    QCheckBox* limitBox_ = nullptr;
    QSpinBox* limitRateBox_ = nullptr;
};

}  // namespace gw::ui
