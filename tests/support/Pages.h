#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

namespace gw::test {

// The named control of a page; fails the test when it is missing.
template <class T>
T* control(QWidget* page, const char* name) {
    T* found = page ? page->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    EXPECT_NE(found, nullptr) << "no control " << name;
    return found;
}

// Lets unloaded pages really go, as the event loop would.
inline void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// The visible page (or dialog) with this object name, or nullptr.
QWidget* visibleWindow(const char* name);

// Destroys every top-level window, so each test starts with none.
void closeAllWindows();

}  // namespace gw::test
