#pragma once

#include <chrono>

#include "platform/Dialup.h"

namespace gw::test {

// A line that is up until it has been asked to drop `dropsAfter` times (never, when < 0).
class FakeDialup final : public platform::DialupService {
  public:
    bool up = false;
    int dropsAfter = 1;
    bool refuse = false;
    int comesUpAtCall = 0;  // the line comes up at this call of active() (0: never)
    int activeCalls = 0;
    int hangUpCalls = 0;

    bool active() override {
        ++activeCalls;
        if (comesUpAtCall > 0 && activeCalls == comesUpAtCall)
            up = true;
        return up;
    }
    platform::HangUpOutcome hangUp() override {
        ++hangUpCalls;
        if (refuse)
            return platform::HangUpOutcome::Refused;
        if (dropsAfter >= 0 && hangUpCalls >= dropsAfter)
            up = false;
        return platform::HangUpOutcome::Requested;
    }
};

// Time that moves only when the code under test sleeps.
class FakeClock final : public platform::Clock {
  public:
    std::chrono::steady_clock::time_point current{};
    std::chrono::milliseconds slept{0};
    // How far each reading moves the clock on, for code that only ever reads it (the event
    // pump of a running transfer); 0 keeps it still.
    std::chrono::milliseconds tick{0};

    std::chrono::steady_clock::time_point now() override { return current += tick; }
    void sleepFor(std::chrono::milliseconds duration) override {
        current += duration;
        slept += duration;
    }
};

// Installs the fakes as the wizard's services for the life of the object.
struct InstalledFakes {
    FakeDialup dialup;
    FakeClock clock;
    InstalledFakes() {
        platform::setDialupService(&dialup);
        platform::setClock(&clock);
    }
    ~InstalledFakes() {
        platform::setDialupService(nullptr);
        platform::setClock(nullptr);
    }
};

}  // namespace gw::test
