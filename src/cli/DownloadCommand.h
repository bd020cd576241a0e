#pragma once

#include <iosfwd>

#include "cli/Options.h"

namespace gw::cli {

// Finds the files as --list does and downloads each into the folder; returns the exit status.
int RunDownload(const Options& options, std::ostream& err, bool errIsTerminal);

}  // namespace gw::cli
