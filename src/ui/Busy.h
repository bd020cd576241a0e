#pragma once

#include <QApplication>
#include <QElapsedTimer>

namespace gw::ui {

// The hourglass for as long as the object lives.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { restore(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    // Back to normal before the work is over (before an error page, say).
    void restore() {
        if (active_) QApplication::restoreOverrideCursor();
        active_ = false;
    }

private:
    bool active_ = true;
};

// Lets the user interface run about every 20 ms, however often it is asked.
class EventPump {
public:
    EventPump() { timer_.start(); }
    void operator()() {
        if (timer_.elapsed() < 20) return;
        QApplication::processEvents();
        timer_.restart();
    }

private:
    QElapsedTimer timer_;
};

}  // namespace gw::ui
