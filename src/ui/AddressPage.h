#pragma once

#include "ui/WizardPage.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace gw::ui {

// Step 1: the address of the page, with the address history.
class AddressPage : public WizardPage {
    Q_OBJECT
  public:
    explicit AddressPage(QWidget* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void load();
    void applyNextRule();
    void clearHistory();
    void fetch();

    QComboBox* addressBox_;
    QCheckBox* runScriptsBox_;
    QPushButton* nextButton_;
};

}  // namespace gw::ui
