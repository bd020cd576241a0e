#pragma once

namespace gw::settings {

// The highest speed limit the wizard offers, in KB/s (1024 bytes a second): 1 GiB a second.
inline constexpr int kMaxSpeedLimit = 1024 * 1024;

// The wizard's download speed limit in KB/s ("LimitRate" of section "Settings"); 0 for none,
// also when what is stored is not a whole number from 0 to kMaxSpeedLimit.
int ReadSpeedLimit();

// Remembers the limit for the next run (0: none). One file replace.
bool SaveSpeedLimit(int kilobytesPerSecond);

}  // namespace gw::settings
