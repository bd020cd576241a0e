#pragma once

#include "ui/WizardPage.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace gw::ui {

// Step 2: the file name pattern, and the search of the page.
class Form3 : public WizardPage {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);

private:
    void applyNextRule();

    QLabel* label1_;
    QLineEdit* text1_;
    QPushButton* command1_;
};

}  // namespace gw::ui
