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

// Where the page's scripts are to run first: the page renderer to run, how long a page may take
// to settle, and the cookies it starts with. No helper: the page is fetched as sent.
struct PageRendering {
    std::string helper;
    double seconds = 20;
    std::string cookiesFile;
};

// Fetches the page at `address` and finds the links `search` asks for as the wizard does,
// harvesting the page as it arrives, then removes duplicates and keeps the page's checksum
// lists. Reasons for failure go to `err`; on a terminal a progress line shows the page's bytes
// so far. SIGINT, SIGTERM and the time limit abort the fetch. With `rendering`, the page's
// document once its scripts have run is harvested instead, and its cookies go into `engine`.
FoundFiles FindFiles(platform::TransferEngine& engine, const std::string& address,
                     const harvest::HarvestOptions& search, std::ostream& err, bool errIsTerminal,
                     const PageRendering& rendering = {});

// Nothing found, for the reason `exitCode` gives.
FoundFiles FoundNothing(int exitCode);

// What a harvest of the page at `pageAddress` found, as FindFiles returns it, with the reasons
// for an empty one written to `err`.
FoundFiles ReportFound(harvest::Harvest found, std::string pageAddress, std::ostream& err);

// FindFiles for a page rendered first.
FoundFiles FindRenderedFiles(platform::TransferEngine& engine, const std::string& address,
                             const harvest::HarvestOptions& search, const PageRendering& rendering,
                             std::ostream& err);

// The exit status for a command ended by `CurrentStop()`, or -1 when nothing stopped it.
int ExitStatusForStop(std::ostream& err);

}  // namespace gw::cli
