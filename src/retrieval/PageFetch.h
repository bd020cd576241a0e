#pragma once

#include <cstdint>
#include <string>

#include "platform/TransferEngine.h"

namespace gw::retrieval {

enum class FetchOutcome {
    Fetched,  // the page text is there
    Empty,    // the server sent no bytes
    Failed,   // the transfer or the temporary file failed
};

struct FetchedPage {
    FetchOutcome outcome = FetchOutcome::Failed;
    std::string text;            // the page with the line rule applied
    std::string fetchedAddress;  // where the page really came from (after redirects)
    std::string error;           // why it failed, for the command line
};

// The typed address with "/" appended when it does not end in one.
std::string PageAddressFor(const std::string& typed);

// Fetches the page into `tempFile` as it arrives, reads it back and deletes the file; the
// file stays after a failure. Whatever stands at `tempFile` is replaced, never written
// through (a link) and never waited on (a fifo).
FetchedPage FetchPage(platform::TransferEngine& transfer, const std::string& requestAddress,
                      const std::string& tempFile, const platform::TransferProgress& progress = {});

// A page larger than this is refused: the wizard holds the whole page in memory.
inline constexpr std::uint64_t kMaxPageBytes = std::uint64_t{1} << 30;

}  // namespace gw::retrieval
