#pragma once

#include <string>
#include <string_view>

namespace gw::transfer {

// The local name of a downloaded file or shortcut: the text after the address's last "/".
std::string FileNameFromAddress(std::string_view address);

}  // namespace gw::transfer
