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

using platform::CreateEmptyIfAbsent;
using platform::kPartPrefix;
using platform::NameStaysInFolder;

}  // namespace gw::transfer
