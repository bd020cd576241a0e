#pragma once

namespace gw::settings {

// The names under which the wizard keeps what it remembers in "grabwright.ini". Names match
// without regard to letter case, so a spelling such as "Grabwright" reaches the same file.
inline constexpr const char* kApplication = "GrabWright";
inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kLastPathKey = "LastPath";
// Whether Step 2 also looks in images, video and audio: "1" or "0".
inline constexpr const char* kAlsoMediaKey = "AlsoMedia";
// The wizard's download speed limit in KB/s; absent or 0 for none.
inline constexpr const char* kLimitRateKey = "LimitRate";
// Whether Step 1 runs the page's scripts before the search: "1" or "0".
inline constexpr const char* kRunScriptsKey = "RunScripts";
inline constexpr const char* kHistorySection = "History";
// Followed by the entry's number, from 1.
inline constexpr const char* kHistoryKeyPrefix = "URL";

}  // namespace gw::settings
