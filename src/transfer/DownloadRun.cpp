#include "transfer/DownloadRun.h"

#include <algorithm>
#include <unordered_map>

#include "platform/Dialup.h"
#include "platform/HttpDate.h"
#include "platform/Referrer.h"
#include "transfer/DownloadLoop.h"
#include "transfer/FileName.h"
#include "transfer/RetryPolicy.h"

namespace gw::transfer {
namespace {

using std::chrono::milliseconds;
// One turn of the run: how long it may wait for the network before asking its caller again,
// so that a window keeps repainting while a server is silent.
constexpr milliseconds kTurn{10};
// Finished files waiting for their lists or to be put in place, each holding descriptors:
// beyond these the run starts no further file until they are in.
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

}  // namespace

DownloadLoop::DownloadLoop(platform::TransferEngine& engine,
                           const std::vector<std::string>& addresses, const std::string& folder,
                           const RunOptions& options, const RunEvents& events, bool listsOnly)
    : engine_(engine),
      addresses_(addresses),
      folder_(folder),
      options_(options),
      events_(events),
      jobs_(std::clamp<std::size_t>(options.jobs, 1, kMaxJobs)),
      lists_(options.checksumLists, addresses, addresses.size(), options.listPatience,
             events.checksumNote),
      entries_(addresses.size()),
      files_(addresses.size()),
      listsOnly_(listsOnly) {
    if (listsOnly)
        return;
    std::unordered_map<std::string, std::size_t> last;
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        entries_[i].name =
            options.names.empty() ? FileNameFromAddress(addresses[i]) : options.names[i];
        if (!lists_.promised(i).empty())
            entries_[i].check = std::make_unique<ChecksumCheck>(lists_.promised(i));
        const auto [it, first] = last.try_emplace(entries_[i].name, i);
        if (first) {
            ready_.push(i);
        } else {
            entries_[it->second].nextSameName = i;
            it->second = i;
        }
    }
}

std::vector<FileStatus> DownloadLoop::run() {
    for (;;) {
        const RunRequest asked = events_.request ? events_.request() : RunRequest::Continue;
        // Still asked while files go into place after an abort, but nothing starts again.
        const RunRequest request = aborted_ ? RunRequest::AbortNow : asked;
        if (request == RunRequest::AbortNow) {
            abortAll();
        } else {
            lists_.turn(engine_, options_.referrerPage, platform::clock().now());
            if (request == RunRequest::Continue) {
                startDueRetries();
                startReady();
            } else {
                endWaiting();
            }
        }
        proveTurn();
        if (running_ == 0 && waiting_ == 0 && committing_ == 0 && proving_.empty() &&
            (ready_.empty() || request != RunRequest::Continue) &&
            (!listsOnly_ || lists_.settled() || request != RunRequest::Continue))
            break;
        // A file read again for its hash goes on at once; nothing else waits on it.
        const milliseconds wait = rehashing() ? milliseconds(0) : kTurn;
        if (running_ > 0 || lists_.running() > 0) {
            for (const platform::FinishedTransfer& done : engine_.step(wait))
                settle(done);
        } else if (wait > milliseconds(0)) {
            pauseForWork();
        }
        const bool onlyCommitting = running_ == 0 && waiting_ == 0 && proving_.empty();
        reportCommits(onlyCommitting ? kTurn : milliseconds(0));
        reportProgress();
    }
    lists_.stopAll(engine_);
    return std::move(files_);
}

// A file waiting for its next try keeps its place: `jobs` bounds both. A file being proven
// or put in place holds none: the next one starts meanwhile.
bool DownloadLoop::hasRoom() const {
    return running_ + waiting_ < jobs_ && committing_ + proving_.size() < kMaxCommitting;
}

void DownloadLoop::startReady() {
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

void DownloadLoop::startTry(std::size_t index) {
    FileInRun& entry = entries_[index];
    const bool goOn = entry.part && entry.part->resume();
    if (!goOn) {
        entry.part.reset();
        // A copy the server may confirm needs no part file: one is made when a body comes.
        if (!entry.condition.any() && !openPart(index))
            return finish(index, FileOutcome::WriteFailed, entry.part->error());
    }
    entry.rangeFrom = entry.part ? entry.part->size() : 0;
    entry.rangeEnd = 0;
    entry.rangeRefused = false;
    entry.unchanged = false;
    entry.proven = false;
    ++entry.tries;
    entry.stage = Stage::Running;
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
        return take(index, data, size);
    };
    engine_.start(index, std::move(request));
}

bool DownloadLoop::openPart(std::size_t index) {
    FileInRun& entry = entries_[index];
    entry.version = {};
    entry.modified.reset();
    if (entry.check)
        entry.check->restart();
    entry.part = std::make_unique<PartFile>(folder_, entry.name);
    return entry.part->open();
}

// Before the body: an answer that is no file fails, and so does one that would splice
// two versions of the file together or pass a piece off as the whole.
std::string DownloadLoop::checkAnswer(std::size_t index, const platform::ResponseHead& head) {
    FileInRun& entry = entries_[index];
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
            if (const auto range = ParseContentRange(head.contentRange);
                range && head.httpStatus == 206)
                entry.rangeEnd = range->end;
            break;
    }
    if (entry.rangeFrom == 0) {
        entry.version = VersionOf(head);
        files_[index].length = entry.version.length;
        entry.modified = modified;
    } else if (modified) {
        entry.modified = modified;
    }
    // A body came: the copy at the name is no longer the server's file, whatever later
    // tries of this one meet.
    entry.condition = {};
    return {};
}

// A body's bytes: those past the range the answer named are no part of the file.
bool DownloadLoop::take(std::size_t index, const char* data, std::size_t size) {
    FileInRun& entry = entries_[index];
    if (entry.rangeEnd > 0)
        size = static_cast<std::size_t>(std::min<std::uint64_t>(
            size, entry.rangeEnd - std::min(entry.rangeEnd, entry.part->size())));
    if (size == 0)
        return true;
    entry.writeFailed = !entry.part->write(data, size);
    if (entry.check && !entry.writeFailed)
        entry.check->add(data, size);
    return !entry.writeFailed;
}

void DownloadLoop::settle(const platform::FinishedTransfer& done) {
    if (lists_.owns(done.id))
        return lists_.settle(done, platform::clock().now());
    const std::size_t index = done.id;
    FileInRun& entry = entries_[index];
    entry.stage = Stage::Queued;
    --running_;
    files_[index].bytes = entry.part ? entry.part->size() : 0;
    if (entry.writeFailed)
        return finish(index, FileOutcome::WriteFailed, entry.part->error());
    if (done.result.ok && entry.unchanged) {
        // Deleted or written to while the answer was on its way: the answer confirms nothing.
        if (!CopyStillThere(entry.condition, folder_, entry.name))
            return fetchWhole(index);
        return prove(index);
    }
    if (done.result.ok) {
        // A range that ended short of the whole is a break like any other: its bytes stay.
        if (const std::uint64_t size = entry.part->size();
            entry.version.length && size < *entry.version.length)
            return tryAgain(index,
                            "the server sent the file only up to byte " + std::to_string(size) +
                                " of " + std::to_string(*entry.version.length),
                            true, false, std::nullopt);
        if (entry.check)
            entry.check->complete();
        entry.head = done.result.head;
        return prove(index);
    }
    // A refused answer is no fault of the file: the next try asks for all of it.
    const bool rangeRefused =
        entry.rangeRefused || (entry.rangeFrom > 0 && done.result.head.httpStatus == 416);
    tryAgain(index, done.result.error, MayPass(done.result) || rangeRefused, rangeRefused,
             ParseRetryAfter(done.result.retryAfter, std::chrono::system_clock::now()));
}

// After a failed try: a pause before the next one, or the end of the file. The kept bytes
// stay for the next try to go on from, unless it must start over.
void DownloadLoop::tryAgain(std::size_t index, std::string why, bool transient, bool startOver,
                            std::optional<std::chrono::seconds> retryAfter) {
    FileInRun& entry = entries_[index];
    const auto pause = PauseBeforeTry(entry.tries + 1, transient, retryAfter);
    if (!pause)
        return finish(index, FileOutcome::FetchFailed, std::move(why));
    if (startOver || !entry.version.resumable() || !entry.part || entry.part->size() == 0) {
        entry.part.reset();
        if (entry.check)
            entry.check->restart();
    } else {
        entry.part->suspend();
        if (entry.check)
            entry.check->pause();
    }
    files_[index].result.error = std::move(why);
    entry.stage = Stage::Waiting;
    entry.retryAt = platform::clock().now() + *pause;
    ++waiting_;
}

void DownloadLoop::startDueRetries() {
    if (waiting_ == 0)
        return;
    const auto now = platform::clock().now();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].stage == Stage::Waiting && entries_[i].retryAt <= now) {
            --waiting_;
            startTry(i);
        }
    }
}

// Nothing on the network: sleeps until the next try of a file or a list is due, at most a turn.
void DownloadLoop::pauseForWork() {
    const auto listDue = lists_.nextDue();
    if (waiting_ == 0 && !listDue)
        return;
    auto earliest = listDue.value_or(std::chrono::steady_clock::time_point::max());
    for (std::size_t i = 0; i < entries_.size() && waiting_ > 0; ++i) {
        if (entries_[i].stage == Stage::Waiting)
            earliest = std::min(earliest, entries_[i].retryAt);
    }
    const auto now = platform::clock().now();
    if (earliest > now)
        platform::clock().sleepFor(std::min(
            kTurn, std::chrono::duration_cast<milliseconds>(earliest - now) + milliseconds(1)));
}

// A file waiting for its next try when the caller wants no more counts as failed.
void DownloadLoop::endWaiting() {
    for (std::size_t i = 0; i < entries_.size() && waiting_ > 0; ++i) {
        if (entries_[i].stage == Stage::Waiting) {
            --waiting_;
            finish(i, FileOutcome::FetchFailed, files_[i].result.error);
        }
    }
}

// Files going into place end as they will, and are reported as they do.
void DownloadLoop::abortAll() {
    aborted_ = true;
    engine_.abortAll();
    lists_.stopAll(engine_);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Stage stage = entries_[i].stage;
        if (stage == Stage::Running || stage == Stage::Waiting || stage == Stage::Proving)
            finish(i, FileOutcome::Aborted, "the download was aborted");
    }
    running_ = waiting_ = 0;
    proving_.clear();
}

void DownloadLoop::finish(std::size_t index, FileOutcome outcome, std::string error) {
    FileInRun& entry = entries_[index];
    entry.stage = Stage::Done;
    entry.part.reset();  // an unfinished part file goes now, before an empty file may
                         // take the name
    entry.check.reset();
    entry.rehash.reset();
    // Bytes refused for their checksum leave nothing of theirs behind, not even a name.
    if (outcome == FileOutcome::FetchFailed && options_.emptyFileAfterFailedFetch &&
        files_[index].checksum != ChecksumState::Differed)
        CreateEmptyIfAbsent(folder_, entry.name);
    files_[index].finished = true;
    files_[index].result = {outcome, std::move(error)};
    if (entry.nextSameName)
        ready_.push(*entry.nextSameName);
    if (events_.finished)
        events_.finished(index, files_[index]);
}

void DownloadLoop::reportProgress() {
    if (!events_.progress)
        return;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const FileInRun& entry = entries_[i];
        if (entry.stage == Stage::Running) {
            files_[i].bytes = entry.rangeFrom + engine_.received(i);
            if (entry.rangeEnd > 0)
                files_[i].bytes = std::min(files_[i].bytes, entry.rangeEnd);
        }
    }
    events_.progress(files_);
}

std::vector<FileStatus> DownloadAll(platform::TransferEngine& engine,
                                    const std::vector<std::string>& addresses,
                                    const std::string& folder, const RunOptions& options,
                                    const RunEvents& events) {
    return DownloadLoop(engine, addresses, folder, options, events).run();
}

std::vector<ListedFile> FilesToHandOn(platform::TransferEngine& engine,
                                      const std::vector<std::string>& addresses,
                                      const RunOptions& options, const RunEvents& events) {
    static const std::string kNoFolder;
    DownloadLoop lists(engine, addresses, kNoFolder, options, events, true);
    lists.run();
    const std::vector<std::string> names = DistinctNames(addresses);
    std::vector<ListedFile> files;
    for (std::size_t i = 0; i < addresses.size(); ++i)
        files.push_back({addresses[i], names[i],
                         platform::ReferrerFor(options.referrerPage, addresses[i]),
                         lists.book().expected(addresses[i])});
    return files;
}

}  // namespace gw::transfer
