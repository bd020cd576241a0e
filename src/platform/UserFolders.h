#pragma once

#include <string>

namespace gw::platform {

// The per-user folders of the XDG base directory rules. None of them ends in "/".
std::string ConfigFolder();  // $XDG_CONFIG_HOME, by default ~/.config
std::string DataFolder();    // $XDG_DATA_HOME, by default ~/.local/share
std::string CacheFolder();   // $XDG_CACHE_HOME, by default ~/.cache

// $HOME, "" when it is unset or not an absolute path.
std::string HomeFolder();

// The per-user download folder of the xdg-user-dirs rules: XDG_DOWNLOAD_DIR from
// user-dirs.dirs in the configuration folder, else from the environment, else ~/Downloads.
// Created when missing; "" when no home is known.
std::string DownloadFolder();

// Where the Windows directory used to be asked for: the per-user data folder, "" when no
// home is known.
std::string AddOnBaseFolder();

}  // namespace gw::platform
