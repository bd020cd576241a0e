#pragma once

#include <QDialog>

namespace gw::ui {

// One window of the wizard's flow (a page, the wait dialog, the error page), shown as a view
// inside the wizard's one window. It stays a dialog so that Enter presses its default button.
// A screen reader meets it as a panel named by its heading (its step frame's caption, its
// heading label, or else its title) and described by its instruction or message text.
class WizardView : public QDialog {
    Q_OBJECT
  public:
    WizardView(const QString& name, const QString& title, QWidget* parent);

    QString heading() const;
    QString description() const;

    // Shown and hidden as a part of the window: no dialog placement or focus of its own.
    void setVisible(bool visible) override;

  protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace gw::ui
