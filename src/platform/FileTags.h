#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace gw::platform {

// One extended attribute: a name in the "user." namespace and its bytes.
struct FileTag {
    std::string name;
    std::string value;
};

// A file's size and modification time as its file system keeps them (to the nanosecond where
// it keeps that much), so that a later look can tell whether anyone wrote to it since.
struct FileStamp {
    std::uint64_t size = 0;
    // Since the epoch, as the file system keeps it: whole seconds (a date after 2262 does not
    // fit a count of nanoseconds) and the nanoseconds beyond them.
    std::int64_t seconds = 0;
    std::int32_t nanoseconds = 0;

    bool operator==(const FileStamp&) const = default;
};

// A regular file found at a name, with those of the asked tags it carries.
struct StandingFile {
    FileStamp stamp;
    std::map<std::string, std::string> tags;

    bool operator==(const StandingFile&) const = default;
};

// What stands at `name` in `folder` (ending in "/") when it is a regular file that can be
// opened for reading; a symbolic link is not followed. A file system without extended
// attributes, or a tag that is missing or longer than 4 KiB, simply gives no tag.
std::optional<StandingFile> ReadStandingFile(const std::string& folder, const std::string& name,
                                             const std::vector<std::string>& tagNames);

// Sets the tags on an open file. A file system that takes none (FAT, some network shares)
// gives none, and neither does one that refuses a single tag: a tag is a convenience for a
// later run, never worth failing the file for.
void SetTags(int fd, const std::vector<FileTag>& tags);

// The size and modification time of an open file; nothing when it cannot be asked.
std::optional<FileStamp> StampOf(int fd);

}  // namespace gw::platform
