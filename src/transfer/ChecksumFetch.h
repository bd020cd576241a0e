#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/TransferEngine.h"
#include "transfer/ChecksumBook.h"

namespace gw::transfer {

// A list is held in memory whole; one larger than this is not read.
inline constexpr std::uint64_t kMaxChecksumListBytes = 1 << 20;

// What a run says of its checksum lists besides the files' own outcomes.
struct ChecksumNote {
    enum class Kind {
        ListNotRead,    // `name` is the list's; its files are not checked
        ListsDisagree,  // `name` is the file's; it is not checked
    };
    Kind kind = Kind::ListNotRead;
    std::string name;
    std::string reason;  // why the list was not read
};

// Before the first file: fetches into memory each list that can concern one of `fileNames`
// (a sidecar only for its own file), with the files' Referer and cookies and as many tries,
// and reads them into one book. A list that cannot be fetched or read is only noted; so is
// each file the lists disagree on. `goOn` is asked every turn: false ends the fetching.
ChecksumBook FetchChecksumLists(platform::TransferEngine& engine,
                                const std::vector<std::string>& lists,
                                const std::vector<std::string>& fileNames,
                                const std::string& referrerPage, const std::function<bool()>& goOn,
                                const std::function<void(const ChecksumNote&)>& note);

}  // namespace gw::transfer
