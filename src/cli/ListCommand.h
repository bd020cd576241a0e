#pragma once

#include <iosfwd>
#include <string>

#include "cli/FoundFiles.h"
#include "cli/Options.h"

namespace gw::cli {

// Fetches the page as the wizard does, harvests it for what the options ask, and writes the
// found files to `out` in the options' format: one address a line, or, for another program to
// download, with the names this program would save them under, their Referer and the hashes
// the page's checksum lists give them (read as a download run reads them). Returns the exit code.
int RunList(platform::TransferEngine& engine, const Options& options, std::ostream& out,
            std::ostream& err, bool errIsTerminal, const PageRendering& rendering = {});

}  // namespace gw::cli
