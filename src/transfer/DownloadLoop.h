#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <queue>
#include <string>
#include <vector>

#include "platform/CommitThread.h"
#include "transfer/DownloadRun.h"
#include "transfer/FileInRun.h"
#include "transfer/RunLists.h"

namespace gw::transfer {

// One download run: its files and the page's checksum lists, moved on a turn at a time.
class DownloadLoop {
  public:
    // With `listsOnly`, only the checksum lists that may name the files are fetched.
    DownloadLoop(platform::TransferEngine& engine, const std::vector<std::string>& addresses,
                 const std::string& folder, const RunOptions& options, const RunEvents& events,
                 bool listsOnly = false);
    std::vector<FileStatus> run();
    const ChecksumBook& book() const { return lists_.book(); }

  private:
    bool hasRoom() const;
    void startReady();
    void startTry(std::size_t index);
    bool openPart(std::size_t index);
    std::string checkAnswer(std::size_t index, const platform::ResponseHead& head);
    bool take(std::size_t index, const char* data, std::size_t size);
    void settle(const platform::FinishedTransfer& done);
    void tryAgain(std::size_t index, std::string why, bool transient, bool startOver,
                  std::optional<std::chrono::seconds> retryAfter);
    void startDueRetries();
    void pauseForWork();
    void endWaiting();
    void abortAll();
    void finish(std::size_t index, FileOutcome outcome, std::string error);
    void reportProgress();

    // Between a file's last byte and its rename (RunProof.cpp).
    void prove(std::size_t index);
    void proveTurn();
    bool advance(std::size_t index);
    bool proveCopy(std::size_t index, const std::optional<ExpectedHash>& expected);
    bool proveBytes(std::size_t index, const std::optional<ExpectedHash>& expected);
    void fetchWhole(std::size_t index);
    void commit(std::size_t index, std::optional<RecordedHash> hash);
    void reportCommits(std::chrono::milliseconds wait);
    bool rehashing() const;

    platform::TransferEngine& engine_;
    const std::vector<std::string>& addresses_;
    const std::string& folder_;
    const RunOptions& options_;
    const RunEvents& events_;
    const std::size_t jobs_;
    RunLists lists_;
    std::vector<FileInRun> entries_;
    std::vector<FileStatus> files_;
    // Files that may start, lowest list position first.
    std::priority_queue<std::size_t, std::vector<std::size_t>, std::greater<>> ready_;
    std::vector<std::size_t> proving_;
    std::size_t running_ = 0;
    std::size_t waiting_ = 0;
    std::size_t committing_ = 0;
    bool aborted_ = false;
    const bool listsOnly_;
    platform::CommitThread committer_;
};

}  // namespace gw::transfer
