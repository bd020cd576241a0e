#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace gw::platform {

// A date as HTTP writes it (Last-Modified, Retry-After), in whole seconds with 64 bits, so that
// a date after 2262 (where a clock of nanoseconds ends) reads as itself. Nothing for text that
// is no date.
std::optional<std::chrono::sys_seconds> ParseHttpDate(const std::string& text);

}  // namespace gw::platform
