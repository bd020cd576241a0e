#pragma once

#include <cstdint>
#include <string>

#include "platform/TransferEngine.h"

namespace gw::retrieval {

enum class FetchOutcome {
    Fetched,  // the page's bytes are there
    Empty,    // the server sent no bytes
    Failed,   // the transfer or the temporary file failed
};

struct FetchedPage {
    FetchOutcome outcome = FetchOutcome::Failed;
    std::string bytes;           // the page as it arrived (the harvest applies the line rule)
    std::string fetchedAddress;  // where the page really came from (after redirects)
    std::string error;           // why it failed
};

// The typed address with "/" appended when it does not end in one.
std::string PageAddressFor(const std::string& typed);

// The wizard's page fetch: the page goes into `tempFile` as it arrives and is read back whole,
// then the file is deleted; it stays after a failure. Whatever stands at `tempFile` is replaced,
// never written through (a link) and never waited on (a fifo).
FetchedPage FetchPage(platform::TransferEngine& transfer, const std::string& requestAddress,
                      const std::string& tempFile, const platform::TransferProgress& progress = {});

// A page larger than this is refused: the wizard holds the whole page in memory.
inline constexpr std::uint64_t kMaxPageBytes = std::uint64_t{1} << 30;

}  // namespace gw::retrieval
