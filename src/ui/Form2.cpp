#include "ui/Form2.h"
namespace gw::ui {
Form2::Form2(QWidget* parent) : WizardPage(parent) { setObjectName(QStringLiteral("Form2")); }
}  // namespace gw::ui
