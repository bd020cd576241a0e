#pragma once

#include <string>

namespace gw::platform {

// The per-user folders of the XDG base directory rules. None of them ends in "/".
std::string ConfigFolder();  // $XDG_CONFIG_HOME, by default ~/.config
std::string DataFolder();    // $XDG_DATA_HOME, by default ~/.local/share
std::string CacheFolder();   // $XDG_CACHE_HOME, by default ~/.cache

// Where the Windows directory used to be asked for: the per-user data folder, "" when no
// home is known.
std::string AddOnBaseFolder();

}  // namespace gw::platform
