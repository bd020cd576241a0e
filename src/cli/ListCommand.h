#pragma once

#include <iosfwd>
#include <string>

#include "cli/FoundFiles.h"

namespace gw::cli {

// Fetches the page as the wizard does, harvests it for what `search` asks, and writes the found
// addresses to `out`, one per line. Returns the exit code.
int RunList(platform::TransferEngine& engine, const std::string& address,
            const harvest::HarvestOptions& search, std::ostream& out, std::ostream& err,
            bool errIsTerminal, const PageRendering& rendering = {});

}  // namespace gw::cli
