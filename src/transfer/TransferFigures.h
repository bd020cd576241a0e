#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <utility>

namespace gw::transfer {

// One decimal and a "." whatever the locale: "12.3".
std::string OneDecimal(double value);
// "999 bytes", "1.0 kB", "45.0 MB": powers of 1000, as file managers write sizes.
std::string SizeText(std::uint64_t bytes);
// The same with "/s": "2 bytes/s", "5.2 MB/s".
std::string RateText(double bytesPerSecond);
// "about 6 s left", "about 3 min left", "about 2 h left".
std::string TimeLeftText(double seconds);

// The rate of one transfer as a reader wants it: averaged over the last few seconds, so that a
// burst or a pause of a moment does not make it jump, and started over when the count falls
// (a new try, or the next file).
class RateMeter {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds kWindow{5};
    static constexpr std::chrono::seconds kSettled{2};

    // The bytes received so far at `now`.
    void add(Clock::time_point now, std::uint64_t bytes);
    // Bytes per second; none before two counts some time apart.
    std::optional<double> rate() const;
    // A rate measured for less than two seconds says too little to foretell an end by.
    bool settled() const;

  private:
    std::deque<std::pair<Clock::time_point, std::uint64_t>> samples_;
    Clock::time_point since_{};
};

// "12.3 MB of 45.0 MB, 5.2 MB/s, about 6 s left": what is known of the file in progress; the
// length, the rate and the time left each only where known.
std::string ProgressFigures(std::uint64_t bytes, std::optional<std::uint64_t> length,
                            const RateMeter& meter);

}  // namespace gw::transfer
