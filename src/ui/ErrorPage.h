#pragma once

#include "ui/WizardView.h"

class QLabel;

namespace gw::ui {

// Reports a failure in one paragraph; its only button returns to the page that failed.
class ErrorPage : public WizardView {
    Q_OBJECT
  public:
    explicit ErrorPage(QWidget* parent = nullptr);
    QLabel* messageLabel() const { return messageLabel_; }

  protected:
    // "<< Back", Enter, Esc and closing the window all unload the page.
    void reject() override;

  private:
    QLabel* messageLabel_;
};

// Shows the error page modally with the message; returns once it is closed and unloaded.
void ShowError(const QString& message);

}  // namespace gw::ui
