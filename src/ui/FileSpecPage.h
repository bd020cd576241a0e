#pragma once

#include "ui/WizardPage.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace gw::ui {

// Step 2: the file name pattern, and the search of the page.
class FileSpecPage : public WizardPage {
    Q_OBJECT
  public:
    explicit FileSpecPage(QWidget* parent = nullptr);

  private:
    void applyNextRule();
    void search();
    void showSelection();

    QLabel* instructionLabel_;
    QLineEdit* specEdit_;
    QCheckBox* mediaCheck_;
    QPushButton* nextButton_;
};

}  // namespace gw::ui
