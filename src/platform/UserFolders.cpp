#include "platform/UserFolders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

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

// A line of user-dirs.dirs reads XDG_DOWNLOAD_DIR="$HOME/Downloads" or names an absolute
// path; anything else is not a usable answer.
std::string downloadFolderFromUserDirs(const std::string& home) {
    std::ifstream file(ConfigFolder() + "/user-dirs.dirs");
    const std::string key = "XDG_DOWNLOAD_DIR=\"";
    std::string found;
    for (std::string line; std::getline(file, line);) {
        if (line.compare(0, key.size(), key) != 0 || line.size() < key.size() + 1 ||
            line.back() != '"')
            continue;
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.compare(0, 5, "$HOME") == 0 && !home.empty())
            value = home + value.substr(5);
        if (!value.empty() && value[0] == '/')
            found = value;
    }
    return found;
}

}  // namespace

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? stripTrailingSlashes(home) : "";
}

std::string DownloadFolder() {
    const std::string home = HomeFolder();
    std::string folder = downloadFolderFromUserDirs(home);
    const char* variable = std::getenv("XDG_DOWNLOAD_DIR");
    if (folder.empty() && variable && variable[0] == '/')
        folder = variable;
    if (folder.empty() && !home.empty())
        folder = home + "/Downloads";
    if (folder.empty())
        return "";
    folder = stripTrailingSlashes(folder);
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

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
