#pragma once

#include <string>

namespace gw::settings {

// Stores the page address as the newest history entry: key "URL" + (historyCount + 1) of
// section "History" (historyCount is the wizard's count of entries loaded). One file replace.
bool SaveAddressToHistory(const std::string& pageAddress, int historyCount);

}  // namespace gw::settings
