#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace gw::cli {

// The lowest speed limit the command line takes: 1 KiB a second.
inline constexpr std::uint64_t kMinLimitRate = 1024;

// Bytes per second from a whole number with an optional k, M or G (powers of 1024, either
// letter case, as curl and wget read them); nothing for any other text, or below 1k.
std::optional<std::uint64_t> ReadRate(std::string_view text);

}  // namespace gw::cli
