#pragma once

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
};

// Reads a regular file whole. Nothing else at the name is read: opening a fifo would wait for
// a writer for good, and a device may never end.
FileBytes ReadWholeFile(const std::string& path);

// Puts the file, as it is, at `backup` (replacing an older one), readable by its owner only.
// Returns whether it is there.
bool KeepCopy(const std::string& path, const std::string& backup);

}  // namespace gw::platform
