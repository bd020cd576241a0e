#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/FilesUnderWay.h"

namespace gw::platform {

// A file made new at a path, written as bytes arrive and read back whole through the same
// descriptor, so what is read is that file and nothing planted at its name since. Whatever
// stood at the path is removed first: a link is never written through, a fifo never waited on.
// While the object lives, an end by a second stop signal removes the file too; once it is
// gone the file stays, for its owner to keep or remove.
class ScratchFile {
  public:
    explicit ScratchFile(const std::string& path);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    bool open() const { return fd_ >= 0; }
    // The errno of the last failure; 0 while none failed.
    int error() const { return error_; }

    // Every byte or false.
    bool write(const char* data, std::size_t size);
    std::uint64_t size() const { return size_; }
    // The whole file into one buffer of its final size.
    bool readBack(std::string& bytes);
    // Deletes the file by its name; the descriptor stays until the object goes.
    void remove();

  private:
    std::string path_;
    int fd_ = -1;
    int error_ = 0;
    std::uint64_t size_ = 0;
    FileUnderWay underWay_;
};

}  // namespace gw::platform
