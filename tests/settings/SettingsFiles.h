#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/UserFolders.h"

namespace gw::test {

inline std::filesystem::path SettingsPath() {
    return std::filesystem::path(platform::ConfigFolder()) / "grabwright.ini";
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Names in the folder, the settings file included: a failed write must leave no temporaries.
inline int FilesIn(const std::filesystem::path& folder) {
    std::error_code ec;
    int count = 0;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; ++it)
        ++count;
    return count;
}

}  // namespace gw::test
