#pragma once

#include <QStringList>
#include <optional>

namespace gw::ui {

inline constexpr int kHistoryKeys = 256;

struct AddressHistory {
    QStringList addresses;     // sorted without regard to letter case, not de-duplicated
    std::optional<int> count;  // the entries before the first empty key; none when all are full
};

AddressHistory ReadAddressHistory();

// Empties every history key (the keys stay, with empty values).
void ClearAddressHistory();

}  // namespace gw::ui
