#pragma once

#include <string>
#include <utility>
#include <vector>

#include "settings/IniText.h"

namespace gw::settings {

// The per-user settings: one INI file per application, named by the application name in
// lower case, in the configuration folder. Application, section and key names match without
// regard to letter case; values are any bytes and round-trip exactly. Only a regular file (or
// a symbolic link to one) is read or replaced; anything else at its name reads as nothing
// stored and is left alone.

// The stored value, or "" when it is missing or cannot be read.
std::string ReadSetting(const std::string& application, const std::string& section,
                        const std::string& key);

// Every key of one section from one read of the file; empty when nothing is stored.
IniSection ReadSection(const std::string& application, const std::string& section);

using SettingValues = std::vector<std::pair<std::string, std::string>>;

// Stores the values (an empty value is stored, not deleted), all of them or none, with one
// replace of the file. Failures are silent: the wizard reports nothing about its settings.
// Returns whether the values reached the disk.
bool WriteSettings(const std::string& application, const std::string& section,
                   const SettingValues& values);

bool WriteSetting(const std::string& application, const std::string& section,
                  const std::string& key, const std::string& value);

}  // namespace gw::settings
