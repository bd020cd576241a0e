#pragma once
#include "ui/WizardPage.h"
namespace gw::ui {
class Form2 : public WizardPage {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);
};
}  // namespace gw::ui
