#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>

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
    // The window gives every view its whole client area, which may be more than the view's
    // minimum size: a control marked here grows by the extra (the step's frame), or moves down
    // with the view's foot (the row of buttons); every other control keeps its place.
    void growWithView(QWidget* control);
    void keepAtFoot(QWidget* control);
    // More room than the minimum for what the view now holds: the growing controls grow by
    // it, the foot moves down, and the window grows to hold the view.
    void growTaller(int extra);

    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QList<QPointer<QWidget>> growing_;
    QList<QPointer<QWidget>> foot_;
    QSize extraApplied_{0, 0};
};

}  // namespace gw::ui
