#pragma once

#include <cstddef>

namespace gw::harvest {

// The found list holds at most this many addresses (entries 1 to 32767 of a 16-bit list); the
// wizard's lists are sized by it, so a harvest can never fill past their end.
inline constexpr std::size_t kFoundCapacity = 32767;

}  // namespace gw::harvest
