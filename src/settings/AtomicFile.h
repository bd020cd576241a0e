#pragma once

#include <string>
#include <string_view>

namespace gw::settings {

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
FileBytes ReadFileBytes(const std::string& path);

// Puts the file, as it is, at `backup` (replacing an older one). Returns whether it is there.
bool KeepCopy(const std::string& path, const std::string& backup);

// Replaces the file by a new one holding `text`, readable and writable by its owner only.
// The new file is written in full to a temporary file in the same folder and renamed over the
// old one, so a crash or a full disk at any point leaves either the old file or the new one.
bool ReplaceFile(const std::string& path, std::string_view text);

}  // namespace gw::settings
