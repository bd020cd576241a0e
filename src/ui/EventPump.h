#pragma once

#include <QApplication>
#include <QElapsedTimer>

namespace gw::ui {

// Lets the user interface run about every 20 ms, however often it is asked.
class EventPump {
  public:
    EventPump() { timer_.start(); }
    void operator()() {
        if (timer_.elapsed() < 20)
            return;
        QApplication::processEvents();
        timer_.restart();
    }

  private:
    QElapsedTimer timer_;
};

}  // namespace gw::ui
