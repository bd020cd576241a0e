#include "transfer/TransferFigures.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>

namespace gw::transfer {

// Not printf: the wizard runs under the user's locale, and these figures keep their ".".
std::string OneDecimal(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
    return std::string(text, end.ptr);
}

namespace {

// Whole bytes below 1000, then one decimal in the largest unit that keeps the figure under
// 1000 as it is written (999 960 bytes is "1.0 MB", not "1000.0 kB").
std::string Figure(double value, const char* const (&units)[4]) {
    if (std::round(value) < 1000)
        return std::to_string(static_cast<std::uint64_t>(std::round(value))) + " " + units[0];
    std::size_t unit = 0;
    while ((unit == 0 || value >= 999.95) && unit + 1 < std::size(units)) {
        value /= 1000;
        ++unit;
    }
    return OneDecimal(value) + " " + units[unit];
}

}  // namespace

std::string SizeText(std::uint64_t bytes) {
    static const char* const units[] = {"bytes", "kB", "MB", "GB"};
    return Figure(static_cast<double>(bytes), units);
}

std::string RateText(double bytesPerSecond) {
    static const char* const units[] = {"bytes/s", "kB/s", "MB/s", "GB/s"};
    return Figure(bytesPerSecond, units);
}

std::string TimeLeftText(double seconds) {
    if (seconds < 59.5)
        return "about " + std::to_string(std::max<long>(1, std::lround(seconds))) + " s left";
    if (seconds < 3570)
        return "about " + std::to_string(std::lround(seconds / 60)) + " min left";
    return "about " + std::to_string(std::lround(seconds / 3600)) + " h left";
}

void RateMeter::add(Clock::time_point now, std::uint64_t bytes) {
    if (samples_.empty() || bytes < samples_.back().second) {
        samples_.clear();
        since_ = now;
    }
    samples_.emplace_back(now, bytes);
    // The oldest count inside the window stays as the base, so the rate spans the window.
    while (samples_.size() > 2 && now - samples_[1].first >= kWindow)
        samples_.pop_front();
}

std::optional<double> RateMeter::rate() const {
    if (samples_.size() < 2)
        return std::nullopt;
    const double seconds =
        std::chrono::duration<double>(samples_.back().first - samples_.front().first).count();
    if (seconds <= 0)
        return std::nullopt;
    return static_cast<double>(samples_.back().second - samples_.front().second) / seconds;
}

bool RateMeter::settled() const {
    return !samples_.empty() && samples_.back().first - since_ >= kSettled;
}

std::string ProgressFigures(std::uint64_t bytes, std::optional<std::uint64_t> length,
                            const RateMeter& meter) {
    std::string text = SizeText(bytes);
    if (length)
        text += " of " + SizeText(*length);
    // Before the first byte there is a wait, not a rate.
    const std::optional<double> rate = meter.rate();
    if (!rate || bytes == 0)
        return text;
    text += ", " + RateText(*rate);
    if (length && *length >= bytes && *rate > 0 && meter.settled())
        text += ", " + TimeLeftText(static_cast<double>(*length - bytes) / *rate);
    return text;
}

}  // namespace gw::transfer
