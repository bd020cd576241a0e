#include "settings/SpeedLimit.h"

#include <string>

#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"

namespace gw::settings {

int ReadSpeedLimit() {
    const std::string stored = ReadSetting(kApplication, kSettingsSection, kLimitRateKey);
    // Digits alone: a hand-edited "-5" or "2M" limits nothing rather than something unmeant.
    if (stored.empty() || stored.size() > 7 ||
        stored.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    const int value = std::stoi(stored);
    return value <= kMaxSpeedLimit ? value : 0;
}

bool SaveSpeedLimit(int kilobytesPerSecond) {
    return WriteSetting(kApplication, kSettingsSection, kLimitRateKey,
                        std::to_string(kilobytesPerSecond));
}

}  // namespace gw::settings
