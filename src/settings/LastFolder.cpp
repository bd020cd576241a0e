#include "settings/LastFolder.h"

#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"

namespace gw::settings {
namespace {

// The wizard has always read the folder under this spelling of its name; names match without
// regard to letter case, so it reaches the same file as kApplication.
constexpr const char* kApplicationAsRead = "Grabwright";

}  // namespace

std::string ReadLastFolder() {
    return ReadSetting(kApplicationAsRead, kSettingsSection, kLastPathKey);
}

bool SaveLastFolder(const std::string& folder) {
    return WriteSetting(kApplication, kSettingsSection, kLastPathKey, folder);
}

bool ReadAlsoMedia() {
    return ReadSetting(kApplication, kSettingsSection, kAlsoMediaKey) == "1";
}

bool SaveAlsoMedia(bool alsoMedia) {
    return WriteSetting(kApplication, kSettingsSection, kAlsoMediaKey, alsoMedia ? "1" : "0");
}

}  // namespace gw::settings
