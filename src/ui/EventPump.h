#pragma once

#include <QApplication>
#include <QEventLoop>
#include <chrono>

#include "platform/Dialup.h"

namespace gw::ui {

// Lets the user interface run about every 20 ms by the wizard's clock, however often long
// work asks. User input waits: the work offers no way out through it. A window closed by
// its frame still gets its close event (not user input), which is how the wait dialog stops
// a fetch.
class EventPump {
  public:
    static constexpr std::chrono::milliseconds kInterval{20};

    EventPump() : last_(platform::clock().now()) {}

    // True when pending events were let run.
    bool operator()() {
        const auto now = platform::clock().now();
        if (now - last_ < kInterval)
            return false;
        last_ = now;
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return true;
    }

  private:
    std::chrono::steady_clock::time_point last_;
};

}  // namespace gw::ui
