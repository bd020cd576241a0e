#include "ui/AddressHistory.h"

#include <algorithm>

#include "settings/SettingsStore.h"
#include "ui/DisplayText.h"
#include "ui/PageLayout.h"

namespace gw::ui {
namespace {
std::string historyKey(int index) {
    return "URL" + std::to_string(index);
}
}  // namespace

AddressHistory ReadAddressHistory() {
    AddressHistory history;
    for (int i = 1; i <= kHistoryKeys; ++i) {
        const std::string address = settings::ReadSetting("GrabWright", "History", historyKey(i));
        if (address.empty()) {
            history.count = i - 1;
            break;
        }
        history.addresses.append(displayText(address));
    }
    std::stable_sort(
        history.addresses.begin(), history.addresses.end(),
        [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return history;
}

void ClearAddressHistory() {
    for (int i = 1; i <= kHistoryKeys; ++i)
        settings::WriteSetting("GrabWright", "History", historyKey(i), "");
}

}  // namespace gw::ui
