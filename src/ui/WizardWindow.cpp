#include "ui/WizardWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QPushButton>

#include "app/Quit.h"
#include "ui/Navigation.h"

namespace gw::ui {
namespace {

QPointer<WizardWindow>& instance() {
    static QPointer<WizardWindow> window;
    return window;
}

bool takesTabFocus(const QWidget* widget, const QWidget* view) {
    return (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && widget->isEnabled() &&
           widget->isVisibleTo(view);
}

// The control a dialog of its own would have focused on opening: the default button when the
// first control that takes focus is another button, else the first stop of the Tab order.
QWidget* firstFocus(QWidget* view) {
    QPushButton* defaultButton = nullptr;
    for (QPushButton* button : view->findChildren<QPushButton*>()) {
        if (button->isDefault() && button->isVisibleTo(view) && button->isEnabled())
            defaultButton = button;
    }
    QWidget* first = nullptr;
    for (QWidget* at = view->nextInFocusChain(); at != view && view->isAncestorOf(at);
         at = at->nextInFocusChain()) {
        if (at->focusPolicy() == Qt::NoFocus)
            continue;
        if (!first)
            first = at;
        if (defaultButton && first != defaultButton && qobject_cast<QPushButton*>(first))
            return defaultButton;
        if (takesTabFocus(at, view))
            return at;
    }
    return nullptr;
}

}  // namespace

WizardWindow::WizardWindow() {
    setObjectName(QStringLiteral("WizardWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void WizardWindow::adopt(QWidget* view) {
    if (!instance())
        instance() = new WizardWindow;
    WizardWindow* window = instance();
    if (view->parentWidget() == window)
        return;
    view->setParent(window, Qt::Widget);
    view->move(0, 0);
    view->hide();
    view->installEventFilter(window);
}

WizardWindow* WizardWindow::existing() {
    return instance();
}

QList<QWidget*> WizardWindow::views() const {
    QList<QWidget*> loaded;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!isUnloaded(child))
            loaded.append(child);
    }
    return loaded;
}

bool WizardWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* view = qobject_cast<QWidget*>(watched);
    if (!view || view->parentWidget() != this || isUnloaded(view))
        return false;
    switch (event->type()) {
        case QEvent::ShowToParent:
            if (!switching_)
                makeCurrent(view);
            break;
        case QEvent::HideToParent:
            if (!switching_ && view == current_)
                current_ = nullptr;
            break;
        case QEvent::WindowTitleChange:
            if (view == current_)
                setWindowTitle(view->windowTitle());
            break;
        case QEvent::Resize:
            if (view == current_) {
                growToHold(view->minimumSize());
                place(view);
            }
            break;
        default:
            break;
    }
    return false;
}

void WizardWindow::makeCurrent(QWidget* view) {
    QWidget* previous = current_;
    current_ = view;
    growToHold(view->minimumSize());
    place(view);
    setWindowTitle(view->windowTitle());
    if (previous && previous != view) {
        // Where the focus was comes back with the view; meanwhile it must not wander to a
        // control of the view that is stepping aside.
        QWidget* focused = previous->focusWidget();
        lastFocus_[previous] = focused;
        if (focused)
            focused->clearFocus();
        switching_ = true;
        previous->hide();
        switching_ = false;
    }
    view->raise();
    // Work that unwinds after the program hid its window must not bring it back.
    if (!isVisible() && !app::ProgramEnding()) {
        show();
        raise();
        activateWindow();
    }
    giveFocus(view);
}

void WizardWindow::giveFocus(QWidget* view) {
    QWidget* target = nullptr;
    if (auto kept = lastFocus_.find(view); kept != lastFocus_.end()) {
        target = kept->second;
        lastFocus_.erase(kept);
    }
    if (!target || !takesTabFocus(target, view))
        target = view->focusWidget();
    if (!target || !takesTabFocus(target, view))
        target = firstFocus(view);
    if (target)
        target->setFocus(Qt::ActiveWindowFocusReason);
}

void WizardWindow::growToHold(QSize size) {
    // Not size(): a window that was never shown reports a default one.
    const QSize needed = minimumSize().expandedTo(size);
    if (needed != minimumSize() || maximumSize() != needed)
        setFixedSize(needed);
}

// Every view takes the whole client area and spreads itself over what it did not ask for,
// keeping its row of buttons at the foot: the row stays where it was from one page to the
// next, under the pointer that pressed it.
void WizardWindow::place(QWidget* view) {
    view->setGeometry(QRect(QPoint(0, 0), minimumSize()));
}

void WizardWindow::showModally(QWidget* view) {
    QPointer<QWidget> guard(view);
    view->show();
    if (!guard || isUnloaded(view) || app::ProgramEnding())
        return;
    QEventLoop loop;
    modalLoops_[view] = &loop;
    loop.exec(QEventLoop::DialogExec);
    modalLoops_.erase(view);  // the program's end may have left the loop, not forget()
}

void WizardWindow::forget(QWidget* view) {
    lastFocus_.erase(view);
    if (view == current_)
        current_ = nullptr;
    if (auto modal = modalLoops_.find(view); modal != modalLoops_.end()) {
        modal->second->quit();
        modalLoops_.erase(modal);
    }
}

void WizardWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!current_)
        return;
    QCloseEvent forwarded;
    QCoreApplication::sendEvent(current_, &forwarded);
}

}  // namespace gw::ui
