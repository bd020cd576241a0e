#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

#include "platform/Hasher.h"

namespace gw::platform {

// A hash computed on a thread of its own while the caller goes on receiving and writing, so
// that a checked download costs about as much as the slower of the two rather than both. The
// bytes are copied into pieces; at most kMaxQueued bytes wait, so a slow hash holds back the
// caller instead of filling memory.
class HashingThread {
  public:
    explicit HashingThread(HashAlgorithm algorithm);
    HashingThread(const HashingThread&) = delete;
    HashingThread& operator=(const HashingThread&) = delete;

    void add(const char* data, std::size_t size);
    // Waits for every byte added, then ends the hash: its lower-case hex, "" on failure.
    std::string hex();

  private:
    static constexpr std::size_t kPiece = 64 * 1024;  // small enough for the heap to reuse
    static constexpr std::size_t kMaxQueued = 1024 * 1024;

    void hand(std::string piece);
    void work(std::stop_token stop);

    Hasher hasher_;      // the worker's alone, except once the queue is empty and it is idle
    std::string piece_;  // being filled by the caller
    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::deque<std::string> queue_;
    std::size_t queued_ = 0;
    bool busy_ = false;
    std::jthread worker_;  // last: it stops and joins before the members it uses go
};

}  // namespace gw::platform
