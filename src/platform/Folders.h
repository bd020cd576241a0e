#pragma once

#include <string>
#include <vector>

#include "platform/Volumes.h"

namespace gw::platform {

// Whether the path names a folder whose contents can be listed.
bool IsOpenableFolder(const std::string& path);

// The names of the folders inside the folder (links to folders included), leaving out names
// that start with "." as the desktop's file dialogs do; ordered without regard to ASCII letter
// case, ties by their bytes. Empty when the folder cannot be read. A link that leads onto a
// network volume of `volumes` is listed as it is, unasked: its server may be gone.
std::vector<std::string> ListSubfolders(const std::string& folder,
                                        const std::vector<Volume>& volumes = {});

// Creates exactly one folder: fails when it exists already (as anything) or the folder above
// it is missing. A final "/" only ends the path.
bool CreateOneFolder(const std::string& path);

// Where the symbolic link at `path` finally leads, every link on the way followed; `path`
// itself when no link stands there or its target cannot be found.
std::string FollowedLink(const std::string& path);

}  // namespace gw::platform
