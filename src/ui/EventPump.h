#pragma once

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <chrono>

#include "platform/Dialup.h"

namespace gw::ui {

// What long work lets the user do while it runs.
enum class LetThrough {
    Nothing,      // no way out: user input waits until the work is done
    WindowClose,  // only closing a window by its frame (the wait dialog's way out of a fetch)
    Everything,   // clicks and keys too (the wait dialog's Cancel button during downloads)
};

// Eats user input while it is installed; a close by the window frame is no input event.
class InputBlocker : public QObject {
  public:
    bool eventFilter(QObject*, QEvent* event) override { return event->isInputEvent(); }
};

// Lets the user interface run about every 20 ms by the wizard's clock, however often long
// work asks.
class EventPump {
  public:
    static constexpr std::chrono::milliseconds kInterval{20};

    explicit EventPump(LetThrough letThrough)
        : letThrough_(letThrough), last_(platform::clock().now()) {}

    // True when pending events were let run.
    bool operator()() {
        const auto now = platform::clock().now();
        if (now - last_ < kInterval)
            return false;
        last_ = now;
        if (letThrough_ == LetThrough::Nothing) {
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            return true;
        }
        if (letThrough_ == LetThrough::Everything) {
            QApplication::processEvents();
            return true;
        }
        // Not ExcludeUserInputEvents: on X11 it holds back the window manager's close too.
        InputBlocker blocker;
        qApp->installEventFilter(&blocker);
        QApplication::processEvents();
        qApp->removeEventFilter(&blocker);
        return true;
    }

  private:
    LetThrough letThrough_;
    std::chrono::steady_clock::time_point last_;
};

}  // namespace gw::ui
