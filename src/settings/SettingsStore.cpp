// Temporary stub, replaced by the settings store implementation.
#include "settings/SettingsStore.h"
namespace gw::settings {
std::string ReadSetting(const std::string&, const std::string&, const std::string&) { return ""; }
bool WriteSetting(const std::string&, const std::string&, const std::string&, const std::string&) { return false; }
}
