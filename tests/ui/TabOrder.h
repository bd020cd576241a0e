#pragma once

#include <QWidget>
#include <vector>

namespace gw::test {

// The controls that Tab visits from the first one round to it again, by object name.
inline std::vector<QString> tabStops(QWidget* first, int count) {
    std::vector<QString> names;
    QWidget* at = first;
    for (int i = 0; i < count && at; ++i) {
        names.push_back(at->objectName());
        QWidget* next = at->nextInFocusChain();
        while (next != at && !((next->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
                               next->isEnabled() && next->isVisibleTo(next->window())))
            next = next->nextInFocusChain();
        at = next;
    }
    return names;
}

}  // namespace gw::test
