#include "transfer/SpeedBudget.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace gw::transfer {
namespace {

// A quarter second's worth: enough to ride out the run loop's turns, too little to burst.
constexpr double kBucketSeconds = 0.25;
// libcurl reads no less than this at once.
constexpr std::size_t kSmallestRead = 1024;
constexpr std::size_t kLargestRead = 256 * 1024;

}  // namespace

SpeedBudget::SpeedBudget(std::uint64_t bytesPerSecond, platform::Clock& clock)
    : rate_(static_cast<double>(bytesPerSecond)),
      capacity_(static_cast<double>(bytesPerSecond) * kBucketSeconds),
      clock_(clock) {}

void SpeedBudget::refill() {
    const auto now = clock_.now();
    // The clock starts with the first bytes, so the bucket is empty when they come.
    if (filledAt_) {
        const auto elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(now - *filledAt_);
        tokens_ = std::min(capacity_, tokens_ + rate_ * static_cast<double>(elapsed.count()) / 1e9);
    }
    filledAt_ = now;
}

double SpeedBudget::needed(std::size_t size) const {
    return std::min(static_cast<double>(size), capacity_);
}

bool SpeedBudget::admit(std::size_t id, std::size_t size) {
    refill();
    const auto granted =
        std::find_if(granted_.begin(), granted_.end(), [id](const Piece& p) { return p.id == id; });
    if (granted != granted_.end()) {
        // libcurl may hand the kept bytes over together with more that came meanwhile.
        tokens_ -= static_cast<double>(size) - static_cast<double>(granted->size);
        granted_.erase(granted);
        return true;
    }
    const bool alreadyWaiting =
        std::any_of(waiting_.begin(), waiting_.end(), [id](const Piece& p) { return p.id == id; });
    if (alreadyWaiting)
        return false;
    if (!waiting_.empty() || tokens_ < needed(size)) {
        waiting_.push_back({id, size});
        return false;
    }
    tokens_ -= static_cast<double>(size);
    return true;
}

std::optional<std::size_t> SpeedBudget::release() {
    if (waiting_.empty())
        return std::nullopt;
    refill();
    const Piece next = waiting_.front();
    if (tokens_ < needed(next.size))
        return std::nullopt;
    waiting_.pop_front();
    // Paid now, so that the next piece let go in the same turn sees what is left.
    tokens_ -= static_cast<double>(next.size);
    granted_.push_back(next);
    return next.id;
}

std::optional<std::chrono::milliseconds> SpeedBudget::untilRelease() {
    if (waiting_.empty())
        return std::nullopt;
    refill();
    const double missing = needed(waiting_.front().size) - tokens_;
    if (missing <= 0)
        return std::chrono::milliseconds(0);
    return std::chrono::milliseconds(static_cast<std::int64_t>(std::ceil(missing * 1000 / rate_)));
}

void SpeedBudget::leave(std::size_t id) {
    const auto same = [id](const Piece& p) { return p.id == id; };
    std::erase_if(waiting_, same);
    // A piece let go but never taken is not spent.
    for (const Piece& piece : granted_) {
        if (piece.id == id)
            tokens_ = std::min(capacity_, tokens_ + static_cast<double>(piece.size));
    }
    std::erase_if(granted_, same);
}

std::size_t SpeedBudget::readBytes() const {
    // Reads of a sixteenth of a second's worth keep each piece well inside the bucket.
    return std::clamp(static_cast<std::size_t>(rate_ / 16), kSmallestRead, kLargestRead);
}

bool LimitSpeed(platform::TransferEngine& engine, std::uint64_t bytesPerSecond) {
    return engine.setReceiveGate(bytesPerSecond > 0 ? std::make_shared<SpeedBudget>(bytesPerSecond)
                                                    : nullptr);
}

}  // namespace gw::transfer
