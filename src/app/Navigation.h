#pragma once

#include <QApplication>
#include <QWidget>

namespace gw::app {

bool isUnloaded(const QWidget* page);

// The live page of class P, or nullptr when it is not loaded.
template <class P>
P* loadedPage() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* page = qobject_cast<P*>(widget); page && !isUnloaded(page))
            return page;
    }
    return nullptr;
}

// Shows P (not modal), creating it first when it is not loaded: a page exists at most once,
// and every load starts from its design-time state.
template <class P>
P* showPage() {
    P* page = loadedPage<P>();
    if (!page)
        page = new P;
    page->show();
    page->raise();
    page->activateWindow();
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

}  // namespace gw::app
