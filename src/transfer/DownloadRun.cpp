#include "transfer/DownloadRun.h"

#include <algorithm>
#include <chrono>
#include <queue>
#include <unordered_map>

#include "platform/CommitThread.h"
#include "platform/Dialup.h"
#include "platform/HttpDate.h"
#include "transfer/FileName.h"
#include "transfer/FileVersion.h"
#include "transfer/KnownCopy.h"
#include "transfer/RetryPolicy.h"
#include "transfer/RunEntry.h"

namespace gw::transfer {
namespace {

using std::chrono::milliseconds;
// One turn of the run: how long it may wait for the network before asking its caller again,
// so that a window keeps repainting while a server is silent.
constexpr milliseconds kTurn{10};
// Finished files waiting to be put in place, each holding two descriptors: beyond these the
// run starts no further file until the disk catches up.
constexpr std::size_t kMaxCommitting = 16;

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

class Run {
  public:
    Run(platform::TransferEngine& engine, const std::vector<std::string>& addresses,
        const std::string& folder, const RunOptions& options, const RunEvents& events,
        const ChecksumBook& checksums)
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
            entries_[i].name =
                options.names.empty() ? FileNameFromAddress(addresses[i]) : options.names[i];
            if (auto expected = checksums.expected(entries_[i].name)) {
                entries_[i].check = std::make_unique<ChecksumCheck>(std::move(*expected));
                files_[i].checksum = ChecksumState::Listed;
            }
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
            const RunRequest asked = events_.request ? events_.request() : RunRequest::Continue;
            // Still asked while files go into place after an abort, but nothing starts again.
            const RunRequest request = aborted_ ? RunRequest::AbortNow : asked;
            if (request == RunRequest::AbortNow) {
                abortAll();
            } else if (request == RunRequest::Continue) {
                startDueRetries();
                startReady();
            } else {
                endWaiting();
            }
            if (running_ == 0 && waiting_ == 0 && committing_ == 0 &&
                (ready_.empty() || request != RunRequest::Continue))
                break;
            const bool onlyCommitting = running_ == 0 && waiting_ == 0;
            if (running_ > 0) {
                for (const platform::FinishedTransfer& done : engine_.step(kTurn))
                    settle(done);
            } else {
                pauseForRetries();
            }
            reportCommits(onlyCommitting ? kTurn : milliseconds(0));
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
    // A file being put in place holds none: the next one starts meanwhile.
    bool hasRoom() const { return running_ + waiting_ < jobs_ && committing_ < kMaxCommitting; }

    void startReady() {
        while (!ready_.empty() && hasRoom()) {
            const std::size_t index = ready_.top();
            ready_.pop();
            files_[index].started = true;
            // Looked at only now: an earlier address of the same name may have just put its
            // file there.
            if (!options_.refetch)
                entries_[index].condition =
                    ConditionAt(folder_, entries_[index].name, addresses_[index]);
            if (events_.started)
                events_.started(index);
            startTry(index);
        }
    }

    void startTry(std::size_t index) {
        Entry& entry = entries_[index];
        const bool goOn = entry.part && entry.part->resume();
        if (!goOn) {
            entry.part.reset();
            // A copy the server may confirm needs no part file: one is made when a body comes.
            if (!entry.condition.any() && !openPart(index))
                return finish(index, FileOutcome::WriteFailed, entry.part->error());
        }
        entry.rangeFrom = entry.part ? entry.part->size() : 0;
        entry.rangeRefused = false;
        entry.unchanged = false;
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
            request.ifRange = entry.version.ifRange();
        request.ifNoneMatch = entry.condition.ifNoneMatch;
        request.ifModifiedSince = entry.condition.ifModifiedSince;
        request.checkHead = [this, index](const platform::ResponseHead& head) {
            return checkAnswer(index, head);
        };
        request.sink = [this, index](const char* data, std::size_t size) {
            Entry& current = entries_[index];
            current.writeFailed = !current.part->write(data, size);
            if (current.check && !current.writeFailed)
                current.check->add(data, size);
            return !current.writeFailed;
        };
        engine_.start(index, std::move(request));
    }

    bool openPart(std::size_t index) {
        Entry& entry = entries_[index];
        entry.version = {};
        entry.modified.reset();
        if (entry.check)
            entry.check->restart();
        entry.part = std::make_unique<PartFile>(folder_, entry.name);
        return entry.part->open();
    }

    // Before the body: an answer that is no file fails, and so does one that would splice
    // two versions of the file together or pass a piece off as the whole.
    std::string checkAnswer(std::size_t index, const platform::ResponseHead& head) {
        Entry& entry = entries_[index];
        if (ConfirmsCopy(entry.condition, head.httpStatus)) {
            entry.unchanged = true;
            return {};
        }
        if (std::string why = RefuseNonFile(head); !why.empty())
            return why;
        if (!entry.part && !openPart(index)) {
            entry.writeFailed = true;
            return entry.part->error();
        }
        const auto modified = platform::ParseHttpDate(head.lastModified);
        switch (JudgeAnswer(entry.version, head, entry.rangeFrom)) {
            case AnswerUse::Refuse:
                entry.rangeRefused = true;
                if (entry.rangeFrom == 0)
                    return "the server sent a piece of the file where the whole was asked";
                return "the server did not go on at byte " + std::to_string(entry.rangeFrom) +
                       " with the same version of the file";
            case AnswerUse::StartOver:
                if (!entry.part->restart()) {
                    entry.writeFailed = true;
                    return entry.part->error();
                }
                if (entry.check)
                    entry.check->restart();
                entry.rangeFrom = 0;
                break;
            case AnswerUse::Append:
                break;
        }
        if (entry.rangeFrom == 0) {
            entry.version = VersionOf(head);
            entry.modified = modified;
        } else if (modified) {
            entry.modified = modified;
        }
        // A body came: the copy at the name is no longer the server's file, whatever later
        // tries of this one meet.
        entry.condition = {};
        return {};
    }

    void settle(const platform::FinishedTransfer& done) {
        const std::size_t index = done.id;
        Entry& entry = entries_[index];
        entry.state = State::Queued;
        --running_;
        files_[index].bytes = entry.part ? entry.part->size() : 0;
        if (entry.writeFailed)
            return finish(index, FileOutcome::WriteFailed, entry.part->error());
        if (done.result.ok && entry.unchanged)
            return finish(index, FileOutcome::Unchanged, {});
        if (done.result.ok) {
            // Checked before the rename: bytes that differ from their list never take the name.
            if (std::string mismatch = entry.check ? entry.check->verdict() : std::string();
                !mismatch.empty()) {
                files_[index].checksum = ChecksumState::Differed;
                return tryAgain(index, std::move(mismatch), true, true, std::nullopt);
            }
            if (entry.check)
                files_[index].checksum = ChecksumState::Matched;
            entry.part->setTags(
                TagsOnArrival(addresses_[index], options_.referrerPage, done.result.head));
            if (entry.modified)
                entry.part->setModified(*entry.modified);
            entry.state = State::Committing;
            ++committing_;
            return committer_.hand(index, std::move(entry.part));
        }
        // A refused answer is no fault of the file: the next try asks for all of it.
        const bool rangeRefused =
            entry.rangeRefused || (entry.rangeFrom > 0 && done.result.head.httpStatus == 416);
        tryAgain(index, done.result.error, MayPass(done.result) || rangeRefused, rangeRefused,
                 ParseRetryAfter(done.result.retryAfter, std::chrono::system_clock::now()));
    }

    void reportCommits(milliseconds wait) {
        if (committing_ == 0)
            return;
        for (platform::CommitThread::Committed& done : committer_.ended(wait)) {
            --committing_;
            finish(done.id, done.ok ? FileOutcome::Written : FileOutcome::WriteFailed,
                   std::move(done.error));
        }
    }

    // After a failed try: a pause before the next one, or the end of the file. The kept bytes
    // stay for the next try to go on from, unless it must start over.
    void tryAgain(std::size_t index, std::string why, bool transient, bool startOver,
                  std::optional<std::chrono::seconds> retryAfter) {
        Entry& entry = entries_[index];
        const auto pause = PauseBeforeTry(entry.tries + 1, transient, retryAfter);
        if (!pause)
            return finish(index, FileOutcome::FetchFailed, std::move(why));
        if (startOver || !entry.version.resumable() || !entry.part || entry.part->size() == 0)
            entry.part.reset();
        else
            entry.part->suspend();
        files_[index].result.error = std::move(why);
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

    // Files going into place end as they will, and are reported as they do.
    void abortAll() {
        aborted_ = true;
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
    std::size_t committing_ = 0;
    bool aborted_ = false;
    platform::CommitThread committer_;
};

}  // namespace

std::vector<FileStatus> DownloadAll(platform::TransferEngine& engine,
                                    const std::vector<std::string>& addresses,
                                    const std::string& folder, const RunOptions& options,
                                    const RunEvents& events) {
    ChecksumBook checksums;
    if (!options.checksumLists.empty()) {
        std::vector<std::string> names;
        for (const std::string& address : addresses)
            names.push_back(FileNameFromAddress(address));
        checksums = FetchChecksumLists(
            engine, options.checksumLists, names, options.referrerPage,
            [&events] { return !events.request || events.request() == RunRequest::Continue; },
            events.checksumNote);
    }
    return Run(engine, addresses, folder, options, events, checksums).run();
}

}  // namespace gw::transfer
