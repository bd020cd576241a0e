#pragma once

#include <optional>
#include <string>
#include <vector>

namespace gw::settings {

// The history is keys "URL1" to "URL256" of section "History"; the first empty or missing key
// ends it.
inline constexpr int kHistoryKeys = 256;

struct AddressHistory {
    std::vector<std::string> addresses;  // in key order, not de-duplicated
    std::optional<int> count;  // the entries before the first empty key; none when all are full
};

// The history from one read of the settings file.
AddressHistory ReadAddressHistory();

// Empties every history key in one file replace (the keys stay, with empty values).
bool ClearAddressHistory();

// Stores the page address as the newest history entry: key "URL" + (historyCount + 1) of
// section "History" (historyCount is the wizard's count of entries loaded). One file replace.
bool SaveAddressToHistory(const std::string& pageAddress, int historyCount);

}  // namespace gw::settings
