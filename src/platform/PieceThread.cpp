#include "platform/PieceThread.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/WorkerFailure.h"

namespace gw::platform {

PieceThread::PieceThread(Consumer consume)
    : consume_(std::move(consume)), worker_([this](std::stop_token stop) { work(stop); }) {}

void PieceThread::add(const char* data, std::size_t size) {
    while (size > 0) {
        if (piece_.capacity() < kPiece)
            piece_.reserve(kPiece);
        const std::size_t taken = std::min(size, kPiece - piece_.size());
        piece_.append(data, taken);
        data += taken;
        size -= taken;
        if (piece_.size() == kPiece)
            hand(std::exchange(piece_, {}));
    }
}

void PieceThread::hand(std::string piece) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queued_ < kMaxQueued; });
    queued_ += piece.size();
    queue_.push_back(std::move(piece));
    changed_.notify_all();
}

void PieceThread::drain() {
    if (!piece_.empty())
        hand(std::exchange(piece_, {}));
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void PieceThread::work(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (changed_.wait(lock, stop, [this] { return !queue_.empty(); })) {
        const std::string piece = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        std::optional<std::string> failure;
        if (failure_.empty())
            failure = FailureOf([&] { consume_(piece); });
        lock.lock();
        if (failure)
            failure_ = *failure;
        busy_ = false;
        queued_ -= piece.size();
        changed_.notify_all();
    }
}

}  // namespace gw::platform
