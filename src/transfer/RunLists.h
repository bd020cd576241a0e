#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Hasher.h"
#include "platform/TransferEngine.h"
#include "transfer/ChecksumBook.h"

namespace gw::transfer {

// A list is held in memory whole; one larger than this is not read.
inline constexpr std::uint64_t kMaxChecksumListBytes = 1 << 20;
// A run reads at most this many whole lists ("SHA256SUMS"); sidecars count toward no cap.
inline constexpr std::size_t kMaxChecksumLists = 16;
// A list that has not arrived this long after it was first asked for is given up, so that a
// server that never answers holds no file back for longer.
inline constexpr std::chrono::seconds kListPatience{30};

// What a run says of its checksum lists besides the files' own outcomes.
struct ChecksumNote {
    enum class Kind {
        ListNotRead,      // `name` is the list's; `reason` says why; its files are not checked
        ListsDisagree,    // `name` is the file's; it is not checked
        PastCap,          // `name` is the list's: the page has more lists than a run reads
        LinesUnreadable,  // `count` lines of the list `name` could not be read
    };
    Kind kind = Kind::ListNotRead;
    std::string name;
    std::string reason;
    std::size_t count = 0;
};

// The note as one sentence; `escape` makes a name or reason from the page fit to show.
std::string ChecksumNoteText(const ChecksumNote& note,
                             const std::function<std::string(const std::string&)>& escape);

// The page's checksum lists as one run fetches them: beside its files, through the same engine,
// with the same tries and pauses, each into memory and read into one book. Only lists that may
// name a file of the run are fetched: a sidecar in the file's own folder, a whole list in the
// folder of a file or above it.
class RunLists {
  public:
    using Clock = std::chrono::steady_clock;

    // Transfers of the lists take the engine's ids from `firstId` on; a list that has not
    // arrived `patience` after it was first asked for is given up.
    RunLists(const std::vector<std::string>& lists, const std::vector<std::string>& files,
             std::size_t firstId, std::chrono::milliseconds patience,
             std::function<void(const ChecksumNote&)> note);

    // The algorithms that the names of the lists which may name `file` promise ("SHA256SUMS":
    // SHA-256), to hash the file with while it arrives.
    const std::vector<platform::HashAlgorithm>& promised(std::size_t file) const {
        return files_[file].promised;
    }
    // Whether every list that may name `file` has arrived or been given up.
    bool settledFor(std::size_t file) const { return files_[file].pending == 0; }
    const ChecksumBook& book() const { return book_; }

    bool owns(std::size_t id) const { return id >= firstId_; }
    // Whether every list has arrived or been given up.
    bool settled() const { return active_.empty() && nextQueued_ == lists_.size(); }
    std::size_t running() const { return running_; }
    // The earliest moment a list waits for, to start its next try or to be given up.
    std::optional<Clock::time_point> nextDue() const;

    // Starts the lists whose turn has come, and gives up those past their patience.
    void turn(platform::TransferEngine& engine, const std::string& referrerPage,
              Clock::time_point now);
    void settle(const platform::FinishedTransfer& done, Clock::time_point now);
    // The run ends: lists still on their way are dropped.
    void stopAll(platform::TransferEngine& engine);

  private:
    enum class State { Queued, Running, Waiting, Done };
    struct List {
        std::string address;
        std::string name;
        std::vector<std::size_t> files;  // that it may name
        State state = State::Queued;
        int tries = 0;
        std::string text;
        std::string why;  // of its last failed try
        Clock::time_point giveUpAt;
        Clock::time_point retryAt;
    };
    struct File {
        std::string address;
        std::size_t pending = 0;
        std::vector<platform::HashAlgorithm> promised;
    };

    void start(platform::TransferEngine& engine, std::size_t index,
               const std::string& referrerPage);
    void settled(std::size_t index, const std::optional<std::string>& why);
    void tell(ChecksumNote note) const;

    std::size_t firstId_;
    std::chrono::milliseconds patience_;
    std::function<void(const ChecksumNote&)> note_;
    std::vector<List> lists_;
    std::vector<File> files_;
    std::vector<std::size_t> active_;  // lists running or waiting for their next try
    std::size_t nextQueued_ = 0;
    std::size_t running_ = 0;
    ChecksumBook book_;
};

}  // namespace gw::transfer
