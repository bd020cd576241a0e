#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/TransferEngine.h"
#include "transfer/FileList.h"
#include "transfer/RunLists.h"

namespace gw::transfer {

enum class FileOutcome {
    Written,      // the whole body is in the folder under its name
    Unchanged,    // the server confirmed the copy already at the name, which stays as it was
    FetchFailed,  // the transfer failed after its last try, or the answer was no file
    WriteFailed,  // the name cannot be written in the folder, or the disk refused the bytes
    Aborted,      // the caller ended the run at once
};

struct DownloadResult {
    FileOutcome outcome = FileOutcome::FetchFailed;
    std::string error;  // why, for the command line; "" when written
};

// What the caller of a run wants at this moment.
enum class RunRequest {
    Continue,
    FinishStarted,  // start no further file and no further try; files in progress finish
    AbortNow,       // end every file in progress at once, its temporary file removed
};

// What the page's checksum lists said of a file.
enum class ChecksumState {
    Unlisted,  // no list names it (or the lists disagree on it, or have not arrived yet)
    Listed,    // a list names it; its bytes have not been proven (yet)
    Matched,   // its bytes hash to the listed hash and are in place, as arrived or as the
               // copy the server confirmed
    Differed,  // the last bytes that arrived whole did not: they were not put in place
};

struct FileStatus {
    bool started = false;  // a file never started (the run was stopped first) is no failure
    ChecksumState checksum = ChecksumState::Unlisted;
    DownloadResult result;  // meaningful once finished
    bool finished = false;
    std::uint64_t bytes = 0;  // received by the current try
    // The whole file's length as the server announced it, where it did.
    std::optional<std::uint64_t> length;
};

struct RunEvents {
    // Asked at every turn of the run (about every 10 ms, and before each file starts).
    std::function<RunRequest()> request;
    // When a file's first try begins.
    std::function<void(std::size_t index)> started;
    // After each turn, with every file's status (the caller decides by time what to show).
    std::function<void(const std::vector<FileStatus>& files)> progress;
    // Once per file when it is done (its status final).
    std::function<void(std::size_t index, const FileStatus& file)> finished;
    // A checksum list not read or read in part, past the cap, or lists that disagree on a
    // file: whenever the run learns it.
    std::function<void(const ChecksumNote& note)> checksumNote;
};

// The most files a run holds in progress at once: more would only compete for one line.
inline constexpr std::size_t kMaxJobs = 16;

struct RunOptions {
    // Files in progress or waiting for their next try at once (1 to kMaxJobs).
    std::size_t jobs = 1;
    // The wizard leaves a zero-length file after a failed fetch where nothing stood at the
    // name; the command line leaves none.
    bool emptyFileAfterFailedFetch = false;
    // The address the page came from, which the downloads name as their Referer.
    std::string referrerPage;
    // Fetch every file whole, without asking whether the copy already at its name (left by an
    // earlier run) is still the server's file.
    bool refetch = false;
    // The page's checksum lists (addresses), in page order: a file one of them names goes
    // into place only when its bytes hash to what the list says.
    std::vector<std::string> checksumLists;
    // How long a list may take to arrive before it is given up and its files go unchecked.
    std::chrono::milliseconds listPatience = kListPatience;
    // The name each address is saved under; empty: FileNameFromAddress of each.
    std::vector<std::string> names;
};

// Downloads every address into `folder` (ending in "/") under FileNameFromAddress(address):
// each body streams to a hidden temporary file beside its name, renamed over the name once
// complete, so the name never shows half a file and a failure never harms an existing file.
// A failure that may pass is tried again after a pause. Addresses whose names are equal are
// fetched one after the other in list order, so the later one wins, as when every file is
// fetched in turn. The checksum lists are fetched beside the files; a file whose bytes are in
// waits for the lists that may name it before it goes into place.
std::vector<FileStatus> DownloadAll(platform::TransferEngine& engine,
                                    const std::vector<std::string>& addresses,
                                    const std::string& folder, const RunOptions& options,
                                    const RunEvents& events);

// The files at `addresses` as another program is handed them: the names a download run would
// save them under (two of one name numbered), the Referer it would send, and the hashes the
// page's checksum lists give them, fetched and read as a download run reads them (the same
// lists, limits, tries, patience and notes) with no file fetched.
std::vector<ListedFile> FilesToHandOn(platform::TransferEngine& engine,
                                      const std::vector<std::string>& addresses,
                                      const RunOptions& options, const RunEvents& events);

}  // namespace gw::transfer
