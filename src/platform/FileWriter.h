#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileTags.h"
#include "platform/FilesUnderWay.h"

namespace gw::platform {

// Every byte or false with errno set (ENOSPC for a write that moved nothing, as a full disk
// sometimes reports itself); an interrupted write goes on.
bool WriteAll(int fd, const char* data, std::size_t size);

// Whether `name` can stand directly in a folder: not empty, ".", "..", no NUL, no "/".
bool NameStaysInFolder(const std::string& name);

// Creates an empty file at `name` in `folder` (ending in "/") only when nothing at all, not
// even a dangling symbolic link, stands there; false when it was not created.
bool CreateEmptyIfAbsent(const std::string& folder, const std::string& name);

// The prefix of every file on its way into place; a listing shows leftovers by it.
inline constexpr const char* kPartPrefix = ".grabwright-";

enum class FileAccess {
    // What the user's umask allows, as for any file a program makes; a regular file that is
    // replaced passes its permission bits on.
    AsUmaskAllows,
    // Readable and writable by the owner alone, whatever stood at the name.
    OwnerOnly,
};

// A file on its way into a folder: the bytes go to a hidden, exclusively created file beside
// the final name, which is renamed over that name only once every byte, the flush and the
// close have succeeded. Until then the final name is never touched, so a failure leaves
// whatever stood there as it was; a file that is not committed is removed (also when the
// process exits, or a second stop signal ends it: see FileUnderWay).
class FileWriter {
  public:
    // `folder` ends in "/". A name that cannot stand in a folder, or that is longer than the
    // folder allows, leaves the object not open(); error() says why.
    FileWriter(const std::string& folder, const std::string& name,
               FileAccess access = FileAccess::AsUmaskAllows);
    // Virtual: a file handed on to be put in place is deleted by whoever holds it, through
    // this type, whatever it was made as.
    virtual ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    bool open() const { return fd_ >= 0; }
    const std::string& error() const { return error_; }

    // Empties the file, so that a new try never leaves an old try's bytes in front.
    bool restart();
    // Every byte or false (a full disk, an I/O error).
    bool write(const char* data, std::size_t size);
    // The bytes written so far.
    std::uint64_t size() const { return size_; }
    // Closes the file but keeps it and its bytes, so that a later try can go on where this
    // one broke off while the file holds no descriptor; resume() opens it again for more
    // bytes at its end, and fails when what stands at its name is no longer this file.
    void suspend();
    bool resume();
    // The modification time the file takes when it is put in place, where its file system can
    // hold it; else, as without one, the time it arrived.
    void setModified(std::chrono::sys_seconds when) { modified_ = when; }
    // The extended attributes the file carries into place, made from its size and date as
    // they stand once the date is set, so that a tag may record them. They are set before the
    // rename: the file never stands at its name without them.
    using TagMaker = std::function<std::vector<FileTag>(const FileStamp& left)>;
    void setTags(TagMaker tags) { tags_ = std::move(tags); }
    // Closes the file and renames it over the final name. A symbolic link at the name is
    // replaced, not followed.
    bool commit();

    // The hidden file's name inside the folder (tests look for leftovers).
    const std::string& partName() const { return partName_; }

  private:
    void discard();
    // The file at partPath_ is no longer this writer's to remove, at exit or otherwise.
    void forget();
    bool fail(const std::string& what);

    int folderFd_ = -1;
    int fd_ = -1;
    FileAccess access_;
    std::string folder_;
    std::uint64_t size_ = 0;
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
    std::optional<std::chrono::sys_seconds> modified_;
    TagMaker tags_;
    std::string name_;
    std::string partName_;
    std::string partPath_;
    std::string error_;
    FileUnderWay underWay_;
};

}  // namespace gw::platform
