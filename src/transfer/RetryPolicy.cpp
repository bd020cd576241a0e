#include "transfer/RetryPolicy.h"

#include <algorithm>
#include <string_view>

namespace gw::transfer {
namespace {

// The first pause, doubled for each further try.
constexpr std::chrono::milliseconds kFirstPause{1000};

}  // namespace

std::optional<std::chrono::milliseconds> PauseBeforeTry(
    int nextTry, bool transient, std::optional<std::chrono::seconds> retryAfter) {
    if (!transient || nextTry < 2 || nextTry > kMaxTries)
        return std::nullopt;
    if (retryAfter)
        return std::chrono::milliseconds(
            std::clamp(*retryAfter, std::chrono::seconds{0}, kMaxRetryAfter));
    return kFirstPause * (1 << (nextTry - 2));
}

std::optional<std::chrono::seconds> RetryAfter(const platform::TransferResult& result) {
    if (result.retryAfterSeconds < 0)
        return std::nullopt;
    return std::chrono::seconds(result.retryAfterSeconds);
}

}  // namespace gw::transfer
