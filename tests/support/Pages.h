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

// The visible page (or dialog) with this object name, or nullptr.
QWidget* visibleWindow(const char* name);

// Waits for the modal error page to show, notes its message and closes it with Enter. Long
// work pumps events in between, so the watch polls rather than firing once.
class ErrorPageAnswerer {
  public:
    ErrorPageAnswerer();
    QString message() const { return message_; }
    int answered() const { return answered_; }

  private:
    QTimer timer_;
    QString message_;
    int answered_ = 0;
};

// Destroys every top-level window, so each test starts with none.
void closeAllWindows();

}  // namespace gw::test
