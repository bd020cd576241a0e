#pragma once

#include <QApplication>

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
        if (active_)
            QApplication::restoreOverrideCursor();
        active_ = false;
    }

  private:
    bool active_ = true;
};

}  // namespace gw::ui
