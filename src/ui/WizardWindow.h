#pragma once

#include <QPointer>
#include <QWidget>
#include <map>

class QEventLoop;

namespace gw::ui {

// The one top-level window of the wizard. Pages, the wait dialog and the error page are views
// inside it that take turns: showing a view makes it the current one, hiding it steps it
// aside, and the window takes the current view's title. Its size is that of the largest view
// (by the view's minimum size) shown so far, and it never moves on its own, so the desktop keeps
// one window in one place for the whole run.
class WizardWindow : public QWidget {
  public:
    // Makes `view` a view of the window (created on first use), hidden until it is shown.
    static void adopt(QWidget* view);
    // The window, or nullptr before the first view.
    static WizardWindow* existing();

    QWidget* currentView() const { return current_; }
    // The loaded views, oldest first.
    QList<QWidget*> views() const;

    // Makes the view current and returns once it is unloaded.
    void showModally(QWidget* view);
    // Called as a view is unloaded: it is current no longer and ends its modal show.
    void forget(QWidget* view);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Closing the window by its frame closes the current view instead: each view decides
    // what that means, and the window itself stays.
    void closeEvent(QCloseEvent* event) override;

  private:
    WizardWindow();
    void makeCurrent(QWidget* view);
    void giveFocus(QWidget* view);
    void growToHold(QSize size);
    void place(QWidget* view);

    QPointer<QWidget> current_;
    std::map<QWidget*, QPointer<QWidget>> lastFocus_;
    std::map<QWidget*, QEventLoop*> modalLoops_;
    bool switching_ = false;
};

}  // namespace gw::ui
