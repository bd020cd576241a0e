#include "settings/AddressHistory.h"

#include "settings/SettingsStore.h"

namespace gw::settings {

bool SaveAddressToHistory(const std::string& pageAddress, int historyCount) {
    return WriteSetting("GrabWright", "History", "URL" + std::to_string(historyCount + 1),
                        pageAddress);
}

}  // namespace gw::settings
