#pragma once

#include <QWidget>

#include "ui/WizardWindow.h"

namespace gw::ui {

bool isUnloaded(const QWidget* page);

// The live page of class P, or nullptr when it is not loaded.
template <class P>
P* loadedPage() {
    const WizardWindow* window = WizardWindow::existing();
    if (!window)
        return nullptr;
    for (QWidget* view : window->views()) {
        if (auto* page = qobject_cast<P*>(view))
            return page;
    }
    return nullptr;
}

// Makes P the current view of the wizard's window (not modal), creating it first when it is
// not loaded: a page exists at most once, and every load starts from its design-time state.
template <class P>
P* showPage() {
    P* page = loadedPage<P>();
    if (!page)
        page = new P;
    page->show();
    return page;
}

// Destroys the page. Deletion waits for the event loop, since a page is usually unloaded
// from inside one of its own click handlers.
void unloadPage(QWidget* page);

// Shows the target page first, then unloads the page that was left.
template <class P>
P* navigate(QWidget* from) {
    P* target = showPage<P>();
    if (from != target)
        unloadPage(from);
    return target;
}

// Makes the view current and returns once it is unloaded; the views that were hidden stay
// as they were.
void showModally(QWidget* view);

}  // namespace gw::ui
