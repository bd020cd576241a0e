#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gw::transfer {

// The local name of a downloaded file or shortcut: the text after the address's last "/".
std::string FileNameFromAddress(std::string_view address);

// One name per address, no two alike: FileNameFromAddress, except that a name an earlier
// address already has becomes "NAME (2).EXT", then "(3)", ... (before the name's last ".", or at
// its end when it has none), passing over every name in use. The same list always gives the
// same names, so a second run finds each file again. An empty name stays empty.
std::vector<std::string> DistinctNames(const std::vector<std::string>& addresses);

}  // namespace gw::transfer
