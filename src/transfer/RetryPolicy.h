#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "platform/TransferEngine.h"

namespace gw::transfer {

// A download that failed for a reason that may pass (a reset connection, a time-out, HTTP 429
// or 503) is tried again, at most this many tries in all.
inline constexpr int kMaxTries = 3;
// Retry-After is honoured up to this; a server asking for longer waits no longer than this.
inline constexpr std::chrono::seconds kMaxRetryAfter{30};

// Whether a failed transfer may succeed on another try.
bool MayPass(const platform::TransferResult& result);

// The pause before try `nextTry` (2 or 3), or nothing when no further try is made.
// `retryAfter` is the server's Retry-After, when it sent a usable one.
std::optional<std::chrono::milliseconds> PauseBeforeTry(
    int nextTry, bool transient, std::optional<std::chrono::seconds> retryAfter);

// A Retry-After value as a wait from `now`: a number of seconds, or an HTTP date (a date
// already past is no wait). Nothing for anything else, which then counts as not sent.
std::optional<std::chrono::seconds> ParseRetryAfter(const std::string& value,
                                                    std::chrono::system_clock::time_point now);

}  // namespace gw::transfer
