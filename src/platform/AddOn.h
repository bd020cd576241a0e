#pragma once

#include <string>

namespace gw::platform {

// Whether the scheduling add-on is installed in the base folder: an entry named "Tardifetch"
// exists there, and so does a file (not a folder) named "Tardifetcher.exe". Both entries are
// always looked at, in that order.
bool AddOnPresentIn(const std::string& baseFolder);

// The same test in the add-on's own base folder (AddOnBaseFolder).
bool AddOnPresent();

}  // namespace gw::platform
