#pragma once

#include <cstdint>
#include <limits>
#include <string>

namespace gw::platform {

enum class FileKind {
    Missing,  // nothing at all at the name
    Regular,  // a file, possibly behind symbolic links
    Other,    // a fifo, a device, a folder, ...: never read, never written through
};

struct FileBytes {
    std::string bytes;
    FileKind kind = FileKind::Missing;
    bool complete = false;  // every byte was read
    bool tooLarge = false;  // the file holds more than the limit; not read whole
    int error = 0;          // the errno of a failed open or read
};

// Reads a regular file whole, up to `limit` bytes. Nothing else at the name is read: opening a
// fifo would wait for a writer for good, and a device may never end.
FileBytes ReadWholeFile(const std::string& path,
                        std::uint64_t limit = std::numeric_limits<std::uint64_t>::max());

// Puts the file, as it is, at `backup` (replacing an older one), readable by its owner only.
// Returns whether it is there.
bool KeepCopy(const std::string& path, const std::string& backup);

}  // namespace gw::platform
