#pragma once

#include "ui/WizardPage.h"

class QLabel;
class QPushButton;

namespace gw::ui {

// The welcome page.
class WelcomePage : public WizardPage {
    Q_OBJECT
  public:
    explicit WelcomePage(QWidget* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* headingLabel_;
    QLabel* creditLabel_;
};

}  // namespace gw::ui
