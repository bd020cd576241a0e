#pragma once

#include <functional>
#include <string>

#include "platform/UrlTransfer.h"

namespace gw::transfer {

enum class FileOutcome {
    Written,      // the whole body is in the folder under its name
    FetchFailed,  // the transfer failed after its last try (or the server answered 400 and up)
    WriteFailed,  // the name cannot be written in the folder, or the disk refused the bytes
    Aborted,      // the caller aborted the transfer (the wizard's wait dialog was closed)
};

struct DownloadResult {
    FileOutcome outcome = FileOutcome::FetchFailed;
    std::string error;  // why, for the command line; "" when written
};

struct DownloadHooks {
    // While the body arrives and while a retry waits; returning false aborts the file.
    platform::TransferProgress progress;
    // Asked while a retry waits; true ends this file's tries (it then counts as failed).
    std::function<bool()> stopRetrying;
    // The wizard leaves a zero-length file after a failed fetch where nothing stood at the
    // name; the command line leaves none.
    bool emptyFileAfterFailedFetch = true;
};

// Fetches `address` into `folder` (a path ending in "/") under FileNameFromAddress(address):
// the body streams to a hidden temporary file in that folder, renamed over the name once
// complete, so the name never shows half a file and a failure never harms an existing file.
DownloadResult DownloadFile(platform::UrlTransfer& transfer, const std::string& address,
                            const std::string& folder, const DownloadHooks& hooks = {});

}  // namespace gw::transfer
