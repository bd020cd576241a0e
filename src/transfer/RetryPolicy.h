#pragma once

#include <chrono>
#include <optional>

#include "platform/UrlTransfer.h"

namespace gw::transfer {

// A download that failed for a reason that may pass (a reset connection, a time-out, HTTP 429
// or 503) is tried again, at most this many tries in all.
inline constexpr int kMaxTries = 3;
// Retry-After is honoured up to this; a server asking for longer waits no longer than this.
inline constexpr std::chrono::seconds kMaxRetryAfter{30};

// The pause before try `nextTry` (2 or 3), or nothing when no further try is made.
// `retryAfter` is the server's Retry-After, when it sent one.
std::optional<std::chrono::milliseconds> PauseBeforeTry(
    int nextTry, bool transient, std::optional<std::chrono::seconds> retryAfter);

// The server's Retry-After of a failed transfer, when it sent one.
std::optional<std::chrono::seconds> RetryAfter(const platform::TransferResult& result);

}  // namespace gw::transfer
