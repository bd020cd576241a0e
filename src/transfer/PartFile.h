#pragma once

#include <string>

#include "platform/FileWriter.h"

namespace gw::transfer {

// A download on its way into its folder: see platform::FileWriter. A file it replaces is
// flushed before the rename; its permission bits carry over.
class PartFile : public platform::FileWriter {
  public:
    // `folder` ends in "/".
    PartFile(const std::string& folder, const std::string& name) : FileWriter(folder, name) {}
};

using platform::kPartPrefix;
using platform::NameStaysInFolder;

// Creates an empty file at `name` in `folder` only when nothing at all (not even a dangling
// symbolic link) stands there; false when it was not created.
bool CreateEmptyIfAbsent(const std::string& folder, const std::string& name);

}  // namespace gw::transfer
