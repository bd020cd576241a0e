#pragma once

#include <cstddef>
#include <string>

namespace gw::transfer {

// A file on its way into a folder: the bytes go to a hidden temporary file beside the final
// name, which is renamed over that name only once every byte, the flush and the close have
// succeeded. Until then the final name is never touched, so a failure leaves whatever stood
// there as it was; a part file that is not committed is removed (also when the process exits).
class PartFile {
  public:
    // `folder` ends in "/". A name that is empty, ".", "..", holds a NUL or a "/", or that
    // the folder refuses, leaves the object not open(); error() says why.
    PartFile(const std::string& folder, const std::string& name);
    ~PartFile();
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    bool open() const { return fd_ >= 0; }
    const std::string& error() const { return error_; }

    // Empties the file, so that a new try never leaves an old try's bytes in front.
    bool restart();
    // Every byte or false (a full disk, an I/O error).
    bool write(const char* data, std::size_t size);
    // Closes the file and renames it over the final name; the permission bits of a regular
    // file that stood there carry over. A symbolic link at the name is replaced, not followed.
    bool commit();

    // The hidden temporary file's name inside the folder (tests look for leftovers).
    const std::string& partName() const { return partName_; }

  private:
    void discard();
    bool fail(const std::string& what);

    int folderFd_ = -1;
    int fd_ = -1;
    std::string name_;
    std::string partName_;
    std::string partPath_;
    std::string error_;
};

// Whether `name` can stand directly in a folder: not empty, ".", "..", no NUL, no "/".
bool NameStaysInFolder(const std::string& name);

// Creates an empty file at `name` in `folder` only when nothing at all (not even a dangling
// symbolic link) stands there; false when it was not created.
bool CreateEmptyIfAbsent(const std::string& folder, const std::string& name);

// The prefix of every part file's name; a listing shows leftovers by it.
inline constexpr const char* kPartPrefix = ".grabwright-";

}  // namespace gw::transfer
