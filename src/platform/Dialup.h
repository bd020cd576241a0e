#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace gw::platform {

enum class HangUpOutcome {
    Requested,  // every line that is up was asked to drop
    Refused,    // some line could not be asked (no such process, no permission, no pppd)
};

// The dial-up line as the wizard sees it: is one up, and drop it.
class DialupService {
  public:
    virtual ~DialupService() = default;
    virtual bool active() = 0;
    virtual HangUpOutcome hangUp() = 0;
};

// Dial-up lines are ppp interfaces. `root` stands for "/" so that tests can lay out a fake
// /sys/class/net and /run and /proc.
class PppDialup final : public DialupService {
  public:
    explicit PppDialup(std::string root = "/");
    bool active() override;
    HangUpOutcome hangUp() override;

  private:
    std::string root_;
};

// The service the wizard uses, shared by every page; tests put a fake in its place.
DialupService& dialupService();
void setDialupService(DialupService* service);  // nullptr restores the real one

bool DialupActive();

class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::chrono::steady_clock::time_point now() = 0;
    virtual void sleepFor(std::chrono::milliseconds duration) = 0;
};
// The clock every wait of the wizard goes by; tests put a fake in its place.
Clock& clock();
void setClock(Clock* clock);  // nullptr restores the real one

inline constexpr std::chrono::seconds kHangUpBound{30};

// Asks for the hang-up until the line is gone, but never longer than `bound`, and stops at
// once when the hang-up is refused: a line that cannot be dropped must not keep the program
// from quitting. `pumpEvents` runs between passes so the window repaints.
void HangUpDialup(DialupService& service, Clock& clock, const std::function<void()>& pumpEvents,
                  std::chrono::milliseconds bound = kHangUpBound);

}  // namespace gw::platform
