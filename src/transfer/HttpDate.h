#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace gw::transfer {

// A date as HTTP writes it (Retry-After, Last-Modified), in any of its three forms; nothing
// for anything else.
std::optional<std::chrono::system_clock::time_point> ParseHttpDate(const std::string& text);

}  // namespace gw::transfer
