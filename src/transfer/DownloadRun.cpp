#include "transfer/DownloadRun.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <queue>
#include <unordered_map>

#include "platform/Dialup.h"
#include "platform/HttpDate.h"
#include "transfer/FileName.h"
#include "transfer/PartFile.h"
#include "transfer/RetryPolicy.h"

namespace gw::transfer {
namespace {

using std::chrono::milliseconds;
// One turn of the run: how long it may wait for the network before asking its caller again,
// so that a window keeps repainting while a server is silent.
constexpr milliseconds kTurn{10};

enum class State { Queued, Running, Waiting, Done };

struct Entry {
    std::string name;
    std::optional<std::size_t> nextSameName;  // the next address in list order with this name
    // Open only while a try runs: a file waiting for its next try holds no descriptor, but
    // keeps its bytes where the server named their version, for the next try to go on from.
    std::unique_ptr<PartFile> part;
    std::string version;  // the ETag or Last-Modified the kept bytes belong to
    // The server's date for the file: a ranged answer without one keeps the date of the
    // answer that named the version.
    std::optional<std::chrono::sys_seconds> modified;
    std::uint64_t rangeFrom = 0;  // where the current try asked the body to start
    bool rangeRefused = false;    // the server would not go on there
    int tries = 0;
    State state = State::Queued;
    bool writeFailed = false;
    std::chrono::steady_clock::time_point retryAt;
};

// What a download accepts as a file: a body, not an answer that says there is none or
// points elsewhere without being followed.
std::string RefuseNonFile(const platform::ResponseHead& head) {
    const long status = head.httpStatus;
    if (status == 204 || status == 205)
        return "the server answered " + std::to_string(status) + " and sent no file";
    if (status >= 300 && status < 400)
        return "the server answered " + std::to_string(status) + " without a place to go";
    return {};
}

// What names the body's version well enough to ask for the rest of it: a strong ETag, else
// Last-Modified; nothing when the server refuses ranges.
std::string VersionOf(const platform::ResponseHead& head) {
    if (head.acceptRanges == "none")
        return {};
    if (!head.etag.empty() && head.etag.rfind("W/", 0) != 0)
        return head.etag;
    return head.lastModified;
}

// The first byte a Content-Range ("bytes N-M/T") says the body starts at.
std::optional<std::uint64_t> RangeStart(const std::string& contentRange) {
    unsigned long long first = 0;
    if (std::sscanf(contentRange.c_str(), "bytes %llu-", &first) != 1)
        return std::nullopt;
    return first;
}

class Run {
  public:
    Run(platform::TransferEngine& engine, const std::vector<std::string>& addresses,
        const std::string& folder, const RunOptions& options, const RunEvents& events)
        : engine_(engine),
          addresses_(addresses),
          folder_(folder),
          options_(options),
          events_(events),
          jobs_(std::clamp<std::size_t>(options.jobs, 1, kMaxJobs)),
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
                startDueRetries();
                startReady();
            } else {
                endWaiting();
            }
            if (running_ == 0 && waiting_ == 0 &&
                (ready_.empty() || request != RunRequest::Continue))
                break;
            if (running_ > 0) {
                for (const platform::FinishedTransfer& done : engine_.step(kTurn))
                    settle(done);
            } else {
                pauseForRetries();
            }
            if (events_.progress) {
                for (std::size_t i = 0; i < entries_.size(); ++i) {
                    if (entries_[i].state == State::Running)
                        files_[i].bytes = entries_[i].rangeFrom + engine_.received(i);
                }
                events_.progress(files_);
            }
        }
        return std::move(files_);
    }

  private:
    // A file waiting for its next try keeps its place: `jobs` bounds both.
    bool hasRoom() const { return running_ + waiting_ < jobs_; }

    void startReady() {
        while (!ready_.empty() && hasRoom()) {
            const std::size_t index = ready_.top();
            ready_.pop();
            files_[index].started = true;
            if (events_.started)
                events_.started(index);
            startTry(index);
        }
    }

    void startTry(std::size_t index) {
        Entry& entry = entries_[index];
        const bool goOn = entry.part && entry.part->resume();
        if (!goOn) {
            entry.version.clear();
            entry.modified.reset();
            entry.part = std::make_unique<PartFile>(folder_, entry.name);
            if (!entry.part->open())
                return finish(index, FileOutcome::WriteFailed, entry.part->error());
        }
        entry.rangeFrom = entry.part->size();
        entry.rangeRefused = false;
        ++entry.tries;
        entry.state = State::Running;
        entry.writeFailed = false;
        ++running_;
        files_[index].bytes = entry.rangeFrom;
        platform::Request request;
        request.address = addresses_[index];
        request.referrerPage = options_.referrerPage;
        request.rangeFrom = entry.rangeFrom;
        if (entry.rangeFrom > 0)
            request.ifRange = entry.version;
        request.checkHead = [this, index](const platform::ResponseHead& head) {
            return checkAnswer(index, head);
        };
        request.sink = [this, index](const char* data, std::size_t size) {
            Entry& current = entries_[index];
            current.writeFailed = !current.part->write(data, size);
            return !current.writeFailed;
        };
        engine_.start(index, std::move(request));
    }

    // Before the body: an answer that is no file fails; a ranged try goes on only where the
    // server goes on at the asked byte, and starts over where it sends the whole file again.
    std::string checkAnswer(std::size_t index, const platform::ResponseHead& head) {
        if (std::string why = RefuseNonFile(head); !why.empty())
            return why;
        Entry& entry = entries_[index];
        const auto modified = platform::ParseHttpDate(head.lastModified);
        if (entry.rangeFrom > 0) {
            if (head.httpStatus == 206) {
                if (RangeStart(head.contentRange) != entry.rangeFrom) {
                    entry.rangeRefused = true;
                    return "the server did not go on at byte " + std::to_string(entry.rangeFrom);
                }
                if (modified)
                    entry.modified = modified;
                return {};
            }
            if (!entry.part->restart()) {
                entry.writeFailed = true;
                return entry.part->error();
            }
            entry.rangeFrom = 0;
        }
        entry.version = VersionOf(head);
        entry.modified = modified;
        return {};
    }

    void settle(const platform::FinishedTransfer& done) {
        const std::size_t index = done.id;
        Entry& entry = entries_[index];
        entry.state = State::Queued;
        --running_;
        files_[index].bytes = entry.part->size();
        if (entry.writeFailed)
            return finish(index, FileOutcome::WriteFailed, entry.part->error());
        if (done.result.ok) {
            if (entry.modified)
                entry.part->setModified(*entry.modified);
            if (!entry.part->commit())
                return finish(index, FileOutcome::WriteFailed, entry.part->error());
            return finish(index, FileOutcome::Written, {});
        }
        // A refused range is no fault of the file: the next try asks for all of it.
        const bool rangeRefused =
            entry.rangeRefused || (entry.rangeFrom > 0 && done.result.head.httpStatus == 416);
        const auto pause = PauseBeforeTry(
            entry.tries + 1, MayPass(done.result) || rangeRefused,
            ParseRetryAfter(done.result.retryAfter, std::chrono::system_clock::now()));
        if (!pause)
            return finish(index, FileOutcome::FetchFailed, done.result.error);
        if (rangeRefused || entry.version.empty() || entry.part->size() == 0)
            entry.part.reset();
        else
            entry.part->suspend();
        files_[index].result.error = done.result.error;
        entry.state = State::Waiting;
        entry.retryAt = platform::clock().now() + *pause;
        ++waiting_;
    }

    void startDueRetries() {
        if (waiting_ == 0)
            return;
        const auto now = platform::clock().now();
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].state == State::Waiting && entries_[i].retryAt <= now) {
                --waiting_;
                startTry(i);
            }
        }
    }

    void pauseForRetries() {
        if (waiting_ == 0)
            return;
        auto earliest = std::chrono::steady_clock::time_point::max();
        for (const Entry& entry : entries_) {
            if (entry.state == State::Waiting)
                earliest = std::min(earliest, entry.retryAt);
        }
        const auto now = platform::clock().now();
        if (earliest > now)
            platform::clock().sleepFor(std::min(
                kTurn, std::chrono::duration_cast<milliseconds>(earliest - now) + milliseconds(1)));
    }

    // A file waiting for its next try when the caller wants no more counts as failed.
    void endWaiting() {
        for (std::size_t i = 0; i < entries_.size() && waiting_ > 0; ++i) {
            if (entries_[i].state == State::Waiting) {
                --waiting_;
                finish(i, FileOutcome::FetchFailed, files_[i].result.error);
            }
        }
    }

    void abortAll() {
        engine_.abortAll();
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].state == State::Running || entries_[i].state == State::Waiting)
                finish(i, FileOutcome::Aborted, "the download was aborted");
        }
        running_ = waiting_ = 0;
    }

    void finish(std::size_t index, FileOutcome outcome, std::string error) {
        Entry& entry = entries_[index];
        entry.state = State::Done;
        entry.part.reset();  // an unfinished part file goes now, before an empty file may
                             // take the name
        if (outcome == FileOutcome::FetchFailed && options_.emptyFileAfterFailedFetch)
            CreateEmptyIfAbsent(folder_, entry.name);
        files_[index].finished = true;
        files_[index].result = {outcome, std::move(error)};
        if (entry.nextSameName)
            ready_.push(*entry.nextSameName);
        if (events_.finished)
            events_.finished(index, files_[index]);
    }

    platform::TransferEngine& engine_;
    const std::vector<std::string>& addresses_;
    const std::string& folder_;
    const RunOptions& options_;
    const RunEvents& events_;
    const std::size_t jobs_;
    std::vector<Entry> entries_;
    std::vector<FileStatus> files_;
    // Files that may start, lowest list position first.
    std::priority_queue<std::size_t, std::vector<std::size_t>, std::greater<>> ready_;
    std::size_t running_ = 0;
    std::size_t waiting_ = 0;
};

}  // namespace

std::vector<FileStatus> DownloadAll(platform::TransferEngine& engine,
                                    const std::vector<std::string>& addresses,
                                    const std::string& folder, const RunOptions& options,
                                    const RunEvents& events) {
    return Run(engine, addresses, folder, options, events).run();
}

}  // namespace gw::transfer
