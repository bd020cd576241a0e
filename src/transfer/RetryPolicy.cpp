#include "transfer/RetryPolicy.h"

#include <algorithm>

#include "platform/HttpDate.h"

namespace gw::transfer {
namespace {

// The first pause, doubled for each further try.
constexpr std::chrono::milliseconds kFirstPause{1000};

std::string Trimmed(const std::string& value) {
    const auto first = value.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return value.substr(first, value.find_last_not_of(" \t") - first + 1);
}

}  // namespace

bool MayPass(const platform::TransferResult& result) {
    switch (result.failure) {
        case platform::FailureKind::Connection:
            return true;
        case platform::FailureKind::HttpStatus:
            return result.head.httpStatus == 429 || result.head.httpStatus == 503;
        default:
            return false;
    }
}

std::optional<std::chrono::milliseconds> PauseBeforeTry(
    int nextTry, bool transient, std::optional<std::chrono::seconds> retryAfter) {
    if (!transient || nextTry < 2 || nextTry > kMaxTries)
        return std::nullopt;
    if (retryAfter)
        return std::chrono::milliseconds(
            std::clamp(*retryAfter, std::chrono::seconds{0}, kMaxRetryAfter));
    return kFirstPause * (1 << (nextTry - 2));
}

std::optional<std::chrono::seconds> ParseRetryAfter(const std::string& value,
                                                    std::chrono::system_clock::time_point now) {
    const std::string text = Trimmed(value);
    if (text.empty())
        return std::nullopt;
    if (std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        // Anything past a day is as good as a day: the wait is capped far below it anyway.
        if (text.size() > 6)
            return std::chrono::seconds(86400);
        return std::chrono::seconds(std::stol(text));
    }
    const auto when = platform::ParseHttpDate(text);
    if (!when)
        return std::nullopt;
    // In whole seconds on both sides: a date in nanoseconds would overflow after 2262.
    return std::max(std::chrono::seconds{0}, *when - std::chrono::floor<std::chrono::seconds>(now));
}

}  // namespace gw::transfer
