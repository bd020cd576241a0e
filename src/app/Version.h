#pragma once

#include <string>

namespace gw::app {

struct Version {
    int Major;
    int Minor;
    int Revision;
};

inline constexpr Version kVersion{1, 0, 29};

// "GrabWright Plus Version 1.0.29": plain decimal numbers, no leading zeros.
inline std::string VersionTitle(const Version& version = kVersion) {
    return "GrabWright Plus Version " + std::to_string(version.Major) + "." +
           std::to_string(version.Minor) + "." + std::to_string(version.Revision);
}

}  // namespace gw::app
