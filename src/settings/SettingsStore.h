#pragma once

#include <string>

namespace gw::settings {

// The per-user settings: one INI file per application, named by the application name in
// lower case, in the configuration folder. Application, section and key names match without
// regard to letter case; values are any bytes and round-trip exactly.

// The stored value, or "" when it is missing or cannot be read.
std::string ReadSetting(const std::string& application, const std::string& section,
                        const std::string& key);

// Stores the value (an empty value is stored, not deleted). Failures are silent: the wizard
// reports nothing about its settings. Returns whether the value reached the disk.
bool WriteSetting(const std::string& application, const std::string& section,
                  const std::string& key, const std::string& value);

}  // namespace gw::settings
