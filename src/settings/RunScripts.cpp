#include "settings/RunScripts.h"

#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"

namespace gw::settings {

bool ReadRunScripts() {
    return ReadSetting(kApplication, kSettingsSection, kRunScriptsKey) == "1";
}

bool SaveRunScripts(bool runScripts) {
    return WriteSetting(kApplication, kSettingsSection, kRunScriptsKey, runScripts ? "1" : "0");
}

}  // namespace gw::settings
