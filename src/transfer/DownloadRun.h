#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/UrlTransfer.h"
#include "transfer/DownloadFile.h"

namespace gw::transfer {

// What the caller of a run wants at this moment.
enum class RunRequest {
    Continue,
    FinishStarted,  // start no further file; files in progress finish (no further retries)
    AbortNow,       // end every file in progress at once, its temporary file removed
};

struct FileStatus {
    bool started = false;
    DownloadResult result;  // meaningful once finished
    bool finished = false;
    std::uint64_t bytes = 0;  // received by the current try
};

struct RunEvents {
    // Asked at every turn of the run (about every 20 ms).
    std::function<RunRequest()> request;
    // After each turn, with every file's status (the caller decides by time what to show).
    std::function<void(const std::vector<FileStatus>& files)> progress;
    // Once per file when it is done (its status final).
    std::function<void(std::size_t index, const FileStatus& file)> finished;
};

// Downloads every address into `folder` (ending in "/") by the rules of DownloadFile (no
// empty file after a failed fetch), up to `jobs` at once over one set of shared connections.
// Addresses whose names are equal are fetched one after the other in list order, so the later
// one wins, as when every file is fetched in turn.
std::vector<FileStatus> DownloadAll(const std::vector<std::string>& addresses,
                                    const std::string& folder, std::size_t jobs,
                                    const RunEvents& events,
                                    const platform::TransferOptions& options = {});

}  // namespace gw::transfer
