#pragma once

#include <iosfwd>
#include <string>

#include "harvest/Harvest.h"
#include "platform/TransferEngine.h"

namespace gw::cli {

// Fetches the page as the wizard does, harvests it for what `search` asks, and writes the found
// addresses to `out`, one per line. Returns the exit code.
int RunList(platform::TransferEngine& engine, const std::string& address,
            const harvest::HarvestOptions& search, std::ostream& out, std::ostream& err,
            bool errIsTerminal);

}  // namespace gw::cli
