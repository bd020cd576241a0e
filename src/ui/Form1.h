#pragma once

#include "ui/WizardPage.h"

class QLabel;
class QPushButton;

namespace gw::ui {

// The welcome page.
class Form1 : public WizardPage {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* label3_;
    QLabel* label4_;
};

}  // namespace gw::ui
