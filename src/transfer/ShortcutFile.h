#pragma once

#include <string>

namespace gw::transfer {

// The bytes of the shortcut that the add-on reads: two lines, each ended by CR LF. A CR or LF
// inside the address is written as %0D or %0A, so that no address can add a line of its own.
std::string ShortcutText(const std::string& address);

// Writes the shortcut for `address` into `folder` (a path ending in "/") as
// FileNameFromAddress(address) + ".url", replacing what stood there. The bytes go to a
// temporary name first (the add-on ignores it: it never ends in ".url") and are renamed over
// the final name, so the add-on never reads half a shortcut and a symbolic link at the name
// is replaced rather than written through. False when the shortcut could not be written.
bool WriteShortcut(const std::string& folder, const std::string& address);

}  // namespace gw::transfer
