#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "transfer/DownloadRun.h"

namespace gw::cli {

// The closing line of a download run: how many files arrived (and how many of those the page's
// checksums verified), were already up to date (only when any were), failed, and were never
// started (only when any were), the bytes that arrived and the time taken; for a reader at a
// terminal also the average rate. `renamed` files took another name than their address's,
// which an earlier file had (said only when any did).
std::string RunSummary(const std::vector<transfer::FileStatus>& files,
                       std::chrono::steady_clock::duration took, bool terminal,
                       std::size_t renamed = 0);

}  // namespace gw::cli
