#pragma once

#include <QDialog>

class QLabel;

namespace gw::ui {

// Reports a failure in one paragraph; its only button returns to the page that failed.
class ErrorPage : public QDialog {
    Q_OBJECT
  public:
    explicit ErrorPage(QWidget* parent = nullptr);
    QLabel* messageLabel() const { return messageLabel_; }

  private:
    QLabel* messageLabel_;
};

// Shows the error page modally with the message; returns once it is closed and unloaded.
void ShowError(const QString& message);

}  // namespace gw::ui
