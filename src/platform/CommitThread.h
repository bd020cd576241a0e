#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "platform/FileWriter.h"

namespace gw::platform {

// Finished files put in place on a thread of their own, one after another in the order they
// were handed over, so that the caller's next transfers go on meanwhile: dating, tagging and
// renaming a file costs a few hundred microseconds of system calls where its tags need a disk
// block of their own, as long as a small file takes to arrive.
class CommitThread {
  public:
    struct Committed {
        std::size_t id;
        bool ok;
        std::string error;  // the writer's, or what the commit threw, when not ok
    };

    CommitThread();
    CommitThread(const CommitThread&) = delete;
    CommitThread& operator=(const CommitThread&) = delete;

    // The writer is committed and then destroyed on the thread.
    void commitLater(std::size_t id, std::unique_ptr<FileWriter> file);
    // The commits that ended since the last call, in the order handed; when none has, waits
    // up to `wait` for the first.
    std::vector<Committed> takeCommitted(std::chrono::milliseconds wait);

  private:
    void work(std::stop_token stop);

    struct Handed {
        std::size_t id;
        std::unique_ptr<FileWriter> file;
    };

    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::deque<Handed> queue_;
    std::vector<Committed> committed_;
    std::jthread worker_;  // last: it commits what is left, then joins, before the rest goes
};

}  // namespace gw::platform
