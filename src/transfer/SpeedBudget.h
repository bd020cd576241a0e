#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "platform/Dialup.h"
#include "platform/ReceiveGate.h"
#include "platform/TransferEngine.h"

namespace gw::transfer {

// One limit in bytes per second for every transfer an engine drives at once: a token bucket
// that starts empty, fills at the limit's rate and holds at most a quarter second's worth, so a
// run receives at the limit on average and never much above it in any one second. The bytes
// of a transfer that the budget cannot pay for yet, or that would pass one already waiting,
// wait their turn; the waiting ones go on in the order they came, one piece each, so that the
// transfers receiving now share the limit equally and one that waits for anything else (a
// retry, its server) takes no share.
class SpeedBudget final : public platform::ReceiveGate {
  public:
    explicit SpeedBudget(std::uint64_t bytesPerSecond, platform::Clock& clock = platform::clock());

    bool admit(std::size_t id, std::size_t size) override;
    std::optional<std::size_t> release() override;
    std::optional<std::chrono::milliseconds> untilRelease() override;
    void leave(std::size_t id) override;
    std::size_t readBytes() const override;

  private:
    struct Piece {
        std::size_t id;
        std::size_t size;
    };

    void refill();
    // What must be in the bucket before a piece may go: all of it, or a full bucket for a piece
    // larger than the bucket holds (it then leaves the bucket owing the rest).
    double needed(std::size_t size) const;

    const double rate_;
    const double capacity_;
    platform::Clock& clock_;
    double tokens_ = 0;
    std::optional<std::chrono::steady_clock::time_point> filledAt_;
    std::deque<Piece> waiting_;
    // Released pieces, paid for when they were let go, whose bytes have not come again yet.
    std::vector<Piece> granted_;
};

// Puts every later transfer of `engine` under one budget of `bytesPerSecond` (0: no limit).
bool LimitSpeed(platform::TransferEngine& engine, std::uint64_t bytesPerSecond);

}  // namespace gw::transfer
