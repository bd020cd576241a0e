#pragma once

#include <string>

namespace gw::settings {

// The folder the files went to last time ("LastPath" of section "Settings"), as stored; ""
// when none is.
std::string ReadLastFolder();

// Remembers `folder` for the next run. One file replace.
bool SaveLastFolder(const std::string& folder);

}  // namespace gw::settings
