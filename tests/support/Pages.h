#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

// Readable failure messages for Qt's strings.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

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

// The visible view (page or dialog) with this object name, or nullptr.
QWidget* visibleWindow(const char* name);

// Waits for the modal error page to show, notes its message and closes it with Enter. Long
// work pumps events in between, so the watch polls rather than firing once.
class ErrorPageAnswerer {
  public:
    ErrorPageAnswerer();
    QString message() const { return message_; }
    int answered() const { return answered_; }
    // The window that showed the page, its title then, and the other views visible in it.
    QWidget* window() const { return window_; }
    QString windowTitle() const { return windowTitle_; }
    int othersVisible() const { return othersVisible_; }

  private:
    QTimer timer_;
    QString message_;
    QWidget* window_ = nullptr;
    QString windowTitle_;
    int othersVisible_ = 0;
    int answered_ = 0;
};

// Destroys every top-level window, so each test starts with none.
void closeAllWindows();

}  // namespace gw::test
