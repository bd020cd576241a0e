#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/FileTags.h"

namespace gw::platform {

// A regular file in a folder read from its start in pieces, so that a long read can be spread
// over the turns of a loop. Nothing but a regular file is opened, and a symbolic link at the
// name is not followed.
class FileReader {
  public:
    // `folder` ends in "/".
    FileReader(const std::string& folder, const std::string& name);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    bool open() const { return fd_ >= 0; }
    // The file's size and date as it was opened.
    const FileStamp& stamp() const { return stamp_; }
    // Replaces `into` with the next bytes, at most `most` of them: empty at the end. False when
    // the file cannot be read.
    bool next(std::string& into, std::size_t most);

  private:
    int fd_ = -1;
    FileStamp stamp_;
};

// The descriptor of the regular file at `path`, opened for reading without following a link
// and checked to be the file looked at (-1 when it is anything else), and its stamp.
int OpenRegularFile(const std::string& path, FileStamp& stamp);

}  // namespace gw::platform
