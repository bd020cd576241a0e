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

bool IsTransient(const platform::TransferResult& result) {
    if (result.ok)
        return false;
    if (result.httpStatus == 429 || result.httpStatus == 503)
        return true;
    if (result.httpStatus >= 400)
        return false;
    // UrlTransfer reports libcurl's own message; these are the ones of a reset or broken
    // connection and of a time-out.
    static constexpr std::string_view kPassing[] = {
        "Connection reset", "Recv failure", "Send failure",       "transfer closed with",
        "Empty reply",      "timed out",    "Operation too slow",
    };
    return std::any_of(std::begin(kPassing), std::end(kPassing), [&](std::string_view text) {
        return result.error.find(text) != std::string::npos;
    });
}

}  // namespace gw::transfer
