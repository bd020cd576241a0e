#include "platform/UserFolders.h"

#include <cstdlib>

namespace gw::platform {
namespace {

std::string stripTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// The XDG rules ignore a relative value, so a stray "XDG_DATA_HOME=foo" cannot send files
// into whatever the current folder happens to be.
std::string xdgFolder(const char* variable, const char* fallbackUnderHome) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/')
        return stripTrailingSlashes(value);
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/')
        return "";
    return stripTrailingSlashes(home) + "/" + fallbackUnderHome;
}

}  // namespace

std::string ConfigFolder() {
    return xdgFolder("XDG_CONFIG_HOME", ".config");
}
std::string DataFolder() {
    return xdgFolder("XDG_DATA_HOME", ".local/share");
}
std::string CacheFolder() {
    return xdgFolder("XDG_CACHE_HOME", ".cache");
}
std::string AddOnBaseFolder() {
    return DataFolder();
}

}  // namespace gw::platform
