#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>

namespace gw::platform {

// Bytes consumed on a thread of their own while the caller goes on receiving them, so that the
// two cost about as much as the slower of them rather than both. The bytes are copied into
// pieces, consumed one at a time in the order they came; at most kMaxQueued bytes wait, so a
// slow consumer holds back the caller instead of filling memory. What the consumer throws ends
// the consuming: later bytes are dropped, and failure() gives the reason once drained.
class PieceThread {
  public:
    using Consumer = std::function<void(std::string_view bytes)>;

    explicit PieceThread(Consumer consume);
    PieceThread(const PieceThread&) = delete;
    PieceThread& operator=(const PieceThread&) = delete;

    void add(const char* data, std::size_t size);
    // Waits until every byte added has been consumed.
    void drain();
    // After drain(): what the consumer threw, "" when it threw nothing.
    const std::string& failure() const { return failure_; }

  private:
    static constexpr std::size_t kPiece = 64 * 1024;  // small enough for the heap to reuse
    static constexpr std::size_t kMaxQueued = 1024 * 1024;

    void hand(std::string piece);
    void work(std::stop_token stop);

    Consumer consume_;
    std::string piece_;  // being filled by the caller
    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::deque<std::string> queue_;
    std::size_t queued_ = 0;
    bool busy_ = false;
    std::string failure_;  // written by the worker while holding the mutex
    std::jthread worker_;  // last: it stops and joins before the members it uses go
};

}  // namespace gw::platform
