#pragma once

#include <string>

#include "ProjectVersion.h"

namespace gw::app {

struct Version {
    int Major;
    int Minor;
    int Revision;
};

inline constexpr Version kVersion{GW_VERSION_MAJOR, GW_VERSION_MINOR, GW_VERSION_PATCH};

// "GrabWright Plus Version 1.0.29": plain decimal numbers, no leading zeros.
inline std::string VersionTitle(const Version& version = kVersion) {
    return "GrabWright Plus Version " + std::to_string(version.Major) + "." +
           std::to_string(version.Minor) + "." + std::to_string(version.Revision);
}

}  // namespace gw::app
