#include "transfer/DownloadRun.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <queue>
#include <unordered_map>

#include "platform/Dialup.h"
#include "platform/ParallelTransfers.h"
#include "transfer/FileName.h"
#include "transfer/PartFile.h"
#include "transfer/RetryPolicy.h"

namespace gw::transfer {
namespace {

using std::chrono::milliseconds;
constexpr milliseconds kTurn{20};

struct Entry {
    std::string name;
    std::optional<std::size_t> nextSameName;  // the next address in list order with this name
    std::unique_ptr<PartFile> part;
    int tries = 0;
    bool running = false;
    bool waiting = false;
    bool writeFailed = false;
    std::chrono::steady_clock::time_point retryAt;
};

class Run {
  public:
    Run(const std::vector<std::string>& addresses, const std::string& folder, std::size_t jobs,
        const RunEvents& events, const platform::TransferOptions& options)
        : addresses_(addresses),
          folder_(folder),
          events_(events),
          transfers_(std::clamp<std::size_t>(jobs, 1, 16), options),
          entries_(addresses.size()),
          files_(addresses.size()) {
        std::unordered_map<std::string, std::size_t> last;
        for (std::size_t i = 0; i < addresses.size(); ++i) {
            entries_[i].name = FileNameFromAddress(addresses[i]);
            const auto [it, first] = last.try_emplace(entries_[i].name, i);
            if (first) {
                ready_.push(i);
            } else {
                entries_[it->second].nextSameName = i;
                it->second = i;
            }
        }
    }

    std::vector<FileStatus> run() {
        for (;;) {
            const RunRequest request = events_.request ? events_.request() : RunRequest::Continue;
            if (request == RunRequest::AbortNow) {
                abortAll();
                break;
            }
            if (request == RunRequest::Continue) {
                startRetries();
                startReady();
            } else {
                endWaiting();
            }
            if (transfers_.running() == 0 && waitingCount_ == 0 &&
                (ready_.empty() || request != RunRequest::Continue))
                break;
            if (transfers_.running() > 0) {
                for (platform::FinishedTransfer& done : transfers_.step(kTurn))
                    settle(done);
            } else {
                pauseForRetries();
            }
            if (events_.progress)
                events_.progress(files_);
        }
        return std::move(files_);
    }

  private:
    void startReady() {
        while (!ready_.empty() && transfers_.hasRoom()) {
            const std::size_t index = ready_.top();
            ready_.pop();
            Entry& entry = entries_[index];
            files_[index].started = true;
            entry.part = std::make_unique<PartFile>(folder_, entry.name);
            if (!entry.part->open()) {
                finish(index, FileOutcome::WriteFailed, entry.part->error());
                continue;
            }
            startTry(index);
        }
    }

    void startTry(std::size_t index) {
        Entry& entry = entries_[index];
        ++entry.tries;
        entry.running = true;
        files_[index].bytes = 0;
        transfers_.start(index, addresses_[index],
                         [this, index](const char* data, std::size_t size) {
                             Entry& current = entries_[index];
                             if (!current.part->write(data, size)) {
                                 current.writeFailed = true;
                                 return false;
                             }
                             files_[index].bytes += size;
                             return true;
                         });
    }

    void settle(const platform::FinishedTransfer& done) {
        const std::size_t index = done.id;
        Entry& entry = entries_[index];
        entry.running = false;
        if (entry.writeFailed)
            return finish(index, FileOutcome::WriteFailed, entry.part->error());
        if (done.result.ok) {
            if (!entry.part->commit())
                return finish(index, FileOutcome::WriteFailed, entry.part->error());
            return finish(index, FileOutcome::Written, {});
        }
        const auto pause =
            PauseBeforeTry(entry.tries + 1, done.result.transient, RetryAfter(done.result));
        if (!pause)
            return finish(index, FileOutcome::FetchFailed, done.result.error);
        if (!entry.part->restart())
            return finish(index, FileOutcome::WriteFailed, entry.part->error());
        files_[index].result.error = done.result.error;
        entry.waiting = true;
        entry.retryAt = platform::clock().now() + *pause;
        ++waitingCount_;
    }

    void startRetries() {
        if (waitingCount_ == 0)
            return;
        const auto now = platform::clock().now();
        for (std::size_t i = 0; i < entries_.size() && transfers_.hasRoom(); ++i) {
            Entry& entry = entries_[i];
            if (entry.waiting && entry.retryAt <= now) {
                entry.waiting = false;
                --waitingCount_;
                startTry(i);
            }
        }
    }

    void pauseForRetries() {
        if (waitingCount_ == 0)
            return;
        auto earliest = std::chrono::steady_clock::time_point::max();
        for (const Entry& entry : entries_) {
            if (entry.waiting)
                earliest = std::min(earliest, entry.retryAt);
        }
        const auto now = platform::clock().now();
        if (earliest > now)
            platform::clock().sleepFor(std::min(
                kTurn, std::chrono::duration_cast<milliseconds>(earliest - now) + milliseconds(1)));
    }

    // A file waiting for its next try when the caller wants no more counts as failed.
    void endWaiting() {
        for (std::size_t i = 0; i < entries_.size() && waitingCount_ > 0; ++i) {
            if (entries_[i].waiting) {
                entries_[i].waiting = false;
                --waitingCount_;
                finish(i, FileOutcome::FetchFailed, files_[i].result.error);
            }
        }
    }

    void abortAll() {
        transfers_.abortAll();
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].running || entries_[i].waiting) {
                entries_[i].running = entries_[i].waiting = false;
                finish(i, FileOutcome::Aborted, "the download was aborted");
            }
        }
        waitingCount_ = 0;
    }

    void finish(std::size_t index, FileOutcome outcome, std::string error) {
        Entry& entry = entries_[index];
        entry.part.reset();  // an unfinished part file goes now, not at the end of the run
        files_[index].finished = true;
        files_[index].result = {outcome, std::move(error)};
        if (entry.nextSameName)
            ready_.push(*entry.nextSameName);
        if (events_.finished)
            events_.finished(index, files_[index]);
    }

    const std::vector<std::string>& addresses_;
    const std::string& folder_;
    const RunEvents& events_;
    platform::ParallelTransfers transfers_;
    std::vector<Entry> entries_;
    std::vector<FileStatus> files_;
    // Files that may start, lowest list position first.
    std::priority_queue<std::size_t, std::vector<std::size_t>, std::greater<>> ready_;
    std::size_t waitingCount_ = 0;
};

}  // namespace

std::vector<FileStatus> DownloadAll(const std::vector<std::string>& addresses,
                                    const std::string& folder, std::size_t jobs,
                                    const RunEvents& events,
                                    const platform::TransferOptions& options) {
    return Run(addresses, folder, jobs, events, options).run();
}

}  // namespace gw::transfer
