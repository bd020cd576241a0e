#pragma once

#include <iosfwd>

#include "cli/FoundFiles.h"
#include "cli/Options.h"

namespace gw::cli {

// Finds the files as --list does and downloads each into the folder; returns the exit status.
int RunDownloadCommand(platform::TransferEngine& engine, const Options& options, std::ostream& err,
                       bool errIsTerminal, const PageRendering& rendering = {});

}  // namespace gw::cli
