#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/Volumes.h"

namespace gw::platform {

// A folder as a folder list shows it.
struct FolderListing {
    std::string path;                     // "/a/b": no final "/", except for the root "/"
    std::vector<std::string> subfolders;  // as ListSubfolders gives them
};

// How long a folder may take to answer before it counts as one that cannot be read.
inline constexpr std::chrono::milliseconds kFolderPatience{3000};

// Reads the folder the path names ("/a//b/../c/" reads as "/a/c"). Nothing when the path is
// not absolute, names no folder that can be listed, or gets no answer within the patience: a
// network mount whose server is gone blocks every call on it, so the calls run on a thread
// of their own, which is left behind to finish whenever the server comes back. While one is
// left behind, its drive (of `volumes`, the one the path's links lead to) counts as unreadable
// without being asked again.
// Meant for one caller, the user interface, reading one folder at a time.
std::optional<FolderListing> ReadFolder(const std::string& path, const std::vector<Volume>& volumes,
                                        std::chrono::milliseconds patience = kFolderPatience);

// The folder that opens when `wanted` is asked for: that one when it can be read, else the
// per-user download folder, else the home folder, else the root, the first that can be read.
// An empty `wanted` (nothing remembered yet) opens the download folder too. The fall-back is
// quiet and the download folder rather than a drive's root, where a user cannot write.
FolderListing OpenFolderOrFallBack(const std::string& wanted, const std::vector<Volume>& volumes,
                                   std::chrono::milliseconds patience = kFolderPatience);

// Each folder from the drive's root down to `folder`, inclusive, as paths; `drive` is a mount
// point that holds `folder` in whole components, and both have no final "/" but the root.
std::vector<std::string> FolderChain(const std::string& drive, const std::string& folder);

// The path of the subfolder `name` of `folder`.
std::string SubfolderPath(const std::string& folder, const std::string& name);

// A folder path as the wizard stores it: ending in exactly one "/".
std::string StoredFolderPath(const std::string& folder);

}  // namespace gw::platform
