#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace gw::cli {

struct FoundFiles {
    int exitCode = 0;  // 0 when `addresses` holds at least one address
    std::vector<std::string> addresses;
};

// Fetches the page at `address` as the wizard does (into a temporary file of this run's own),
// finds the links matching `fileSpec` and removes duplicates. Reasons for failure go to `err`.
// SIGINT, SIGTERM and the time limit abort the fetch.
FoundFiles FindFiles(const std::string& address, const std::string& fileSpec, std::ostream& err);

// The exit status for a command ended by `CurrentStop()`, or -1 when nothing stopped it.
int ExitStatusForStop(std::ostream& err);

}  // namespace gw::cli
