// Between a file's last byte and its rename: the lists that may name it, its hash, the commit.
#include "platform/Dialup.h"
#include "transfer/DownloadLoop.h"

namespace gw::transfer {
namespace {

// Read again from the disk at each turn of the run: a few milliseconds of hashing, so that a
// window keeps repainting while a large file is read.
constexpr std::size_t kRehashPiece = 4 << 20;

}  // namespace

// Where nothing holds the file back, it moves on at once.
void DownloadLoop::prove(std::size_t index) {
    entries_[index].stage = Stage::Proving;
    if (!advance(index))
        proving_.push_back(index);
}

void DownloadLoop::proveTurn() {
    for (std::size_t at = 0; at < proving_.size();) {
        if (advance(proving_[at]))
            proving_.erase(proving_.begin() + static_cast<std::ptrdiff_t>(at));
        else
            ++at;
    }
}

bool DownloadLoop::rehashing() const {
    for (const std::size_t index : proving_) {
        if (entries_[index].rehash)
            return true;
    }
    return false;
}

// Whether the file left its proof this turn.
bool DownloadLoop::advance(std::size_t index) {
    FileInRun& entry = entries_[index];
    if (!lists_.settledFor(index))
        return false;
    if (entry.rehash && !entry.rehash->step(kRehashPiece))
        return false;
    const std::optional<ExpectedHash> expected = lists_.book().expected(addresses_[index]);
    if (expected && files_[index].checksum == ChecksumState::Unlisted)
        files_[index].checksum = ChecksumState::Listed;
    return entry.unchanged ? proveCopy(index, expected) : proveBytes(index, expected);
}

// The server confirmed the copy at the name: it is verified where its recorded hash is what
// the list names today, or its bytes hash to it; a copy that does not is fetched whole.
bool DownloadLoop::proveCopy(std::size_t index, const std::optional<ExpectedHash>& expected) {
    FileInRun& entry = entries_[index];
    if (!expected) {
        finish(index, FileOutcome::Unchanged, {});
        return true;
    }
    bool matched = entry.condition.hash == RecordedHash{expected->algorithm, expected->hex};
    if (!matched && !entry.rehash) {
        entry.rehash = std::make_unique<Rehash>(folder_, entry.name, expected->algorithm);
        return false;
    }
    if (entry.rehash) {
        matched =
            entry.rehash->hex() == expected->hex && entry.rehash->stamp() == entry.condition.stamp;
        entry.rehash.reset();
    }
    if (!matched) {
        fetchWhole(index);
        return true;
    }
    files_[index].checksum = ChecksumState::Matched;
    finish(index, FileOutcome::Unchanged, {});
    return true;
}

// Every byte is in: it goes into place where no list names it, or where it hashes to what the
// list gives.
bool DownloadLoop::proveBytes(std::size_t index, const std::optional<ExpectedHash>& expected) {
    FileInRun& entry = entries_[index];
    if (!expected) {
        commit(index, std::nullopt);
        return true;
    }
    std::string hex;
    if (entry.rehash) {
        hex = entry.rehash->hex();
        entry.rehash.reset();
    } else if (const auto computed =
                   entry.check ? entry.check->computed(expected->algorithm) : std::nullopt) {
        hex = *computed;
    } else {
        // The list gave an algorithm its name did not promise: the bytes are read once more.
        entry.rehash =
            std::make_unique<Rehash>(folder_, entry.part->partName(), expected->algorithm);
        return false;
    }
    if (std::string mismatch = Mismatch(*expected, hex); !mismatch.empty()) {
        files_[index].checksum = ChecksumState::Differed;
        tryAgain(index, std::move(mismatch), true, true, std::nullopt);
        return true;
    }
    entry.proven = true;
    commit(index, RecordedHash{expected->algorithm, std::move(hex)});
    return true;
}

// A copy the server's answer does not prove: the next try asks for the whole file, now.
void DownloadLoop::fetchWhole(std::size_t index) {
    FileInRun& entry = entries_[index];
    entry.condition = {};
    entry.unchanged = false;
    startTry(index);
}

void DownloadLoop::commit(std::size_t index, std::optional<RecordedHash> hash) {
    FileInRun& entry = entries_[index];
    entry.part->setTags(
        TagsOnArrival(addresses_[index], options_.referrerPage, entry.head, std::move(hash)));
    if (entry.modified)
        entry.part->setModified(*entry.modified);
    entry.check.reset();
    entry.stage = Stage::Committing;
    ++committing_;
    committer_.commitLater(index, std::move(entry.part));
}

void DownloadLoop::reportCommits(std::chrono::milliseconds wait) {
    if (committing_ == 0)
        return;
    for (platform::CommitThread::Committed& done : committer_.takeCommitted(wait)) {
        --committing_;
        // Verified only once in place: bytes that matched but never took the name prove nothing.
        if (done.ok && entries_[done.id].proven)
            files_[done.id].checksum = ChecksumState::Matched;
        finish(done.id, done.ok ? FileOutcome::Written : FileOutcome::WriteFailed,
               std::move(done.error));
    }
}

}  // namespace gw::transfer
