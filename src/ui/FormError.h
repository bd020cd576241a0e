#pragma once

#include <QDialog>

class QLabel;

namespace gw::ui {

// Reports a failure in one paragraph; its only button returns to the page that failed.
class FormError : public QDialog {
    Q_OBJECT
public:
    explicit FormError(QWidget* parent = nullptr);
    QLabel* label1() const { return label1_; }

private:
    QLabel* label1_;
};

// Shows the error page modally with the message; returns once it is closed and unloaded.
void ShowError(const QString& message);

}  // namespace gw::ui
