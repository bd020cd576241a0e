#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "transfer/ChecksumBook.h"

namespace gw::transfer {

// The formats a found list is handed on in: one address a line; aria2's input file; Metalink 4
// (RFC 5854), which download managers and mirrors read.
enum class FileListFormat { Plain, Aria2, Metalink };

// One file of a list handed on: where it is, the name it is saved under, the Referer a
// download of it sends ("" for none), and the hash the page's lists give it, if any.
struct ListedFile {
    std::string address;
    std::string name;
    std::string referrer;
    std::optional<ExpectedHash> hash;
};

// The list in `format`. A file whose name cannot be saved (empty, ".", "..", or holding "/") is
// left out, and `leftOut` is told its address. Control bytes in an address or a name are written
// %XX, so that a line never carries a second option; `generator` and `published` name this
// program and the moment in a Metalink.
std::string WriteFileList(FileListFormat format, const std::vector<ListedFile>& files,
                          const std::string& generator,
                          std::chrono::system_clock::time_point published,
                          const std::function<void(const std::string& address)>& leftOut);

}  // namespace gw::transfer
