#include "settings/AddressHistory.h"

#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"

namespace gw::settings {
namespace {

std::string historyKey(int index) {
    return kHistoryKeyPrefix + std::to_string(index);
}

}  // namespace

AddressHistory ReadAddressHistory() {
    const IniSection section = ReadSection(kApplication, kHistorySection);
    AddressHistory history;
    for (int i = 1; i <= kHistoryKeys; ++i) {
        const std::string* address = section.find(historyKey(i));
        if (!address || address->empty()) {
            history.count = i - 1;
            break;
        }
        history.addresses.push_back(*address);
    }
    return history;
}

bool ClearAddressHistory() {
    SettingValues empty;
    empty.reserve(kHistoryKeys);
    for (int i = 1; i <= kHistoryKeys; ++i)
        empty.emplace_back(historyKey(i), "");
    return WriteSettings(kApplication, kHistorySection, empty);
}

bool SaveAddressToHistory(const std::string& pageAddress, int historyCount) {
    return WriteSetting(kApplication, kHistorySection, historyKey(historyCount + 1), pageAddress);
}

}  // namespace gw::settings
