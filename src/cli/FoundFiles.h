#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "harvest/Harvest.h"
#include "platform/TransferEngine.h"

namespace gw::cli {

struct FoundFiles {
    int exitCode = 0;  // 0 when `addresses` holds at least one address
    std::vector<std::string> addresses;
    std::string pageAddress;                 // where the page really came from (after redirects)
    std::vector<std::string> checksumLists;  // the page's, whatever the pattern
};

// Fetches the page at `address` and finds the links `search` asks for as the wizard does,
// harvesting the page as it arrives, then removes duplicates and keeps the page's checksum
// lists. Reasons for failure go to `err`; on a terminal a progress line shows the page's bytes
// so far. SIGINT, SIGTERM and the time limit abort the fetch.
FoundFiles FindFiles(platform::TransferEngine& engine, const std::string& address,
                     const harvest::HarvestOptions& search, std::ostream& err, bool errIsTerminal);

// The exit status for a command ended by `CurrentStop()`, or -1 when nothing stopped it.
int ExitStatusForStop(std::ostream& err);

}  // namespace gw::cli
