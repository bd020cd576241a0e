#include "platform/HashingThread.h"

namespace gw::platform {

HashingThread::HashingThread(const std::vector<HashAlgorithm>& algorithms)
    : algorithms_(algorithms) {
    for (const HashAlgorithm algorithm : algorithms_)
        hashers_.push_back(std::make_unique<Hasher>(algorithm));
}

void HashingThread::add(const char* data, std::size_t size) {
    if (!thread_)
        thread_ = std::make_unique<PieceThread>([this](std::string_view bytes) {
            for (const auto& hasher : hashers_)
                hasher->add(bytes.data(), bytes.size());
        });
    thread_->add(data, size);
}

void HashingThread::pause() {
    if (thread_) {
        thread_->drain();
        failed_ = failed_ || !thread_->failure().empty();
    }
    thread_.reset();
}

void HashingThread::restart() {
    thread_.reset();
    failed_ = false;
    for (const auto& hasher : hashers_)
        hasher->restart();
}

std::vector<std::string> HashingThread::hexes() {
    pause();
    std::vector<std::string> hexes;
    for (const auto& hasher : hashers_)
        hexes.push_back(failed_ ? std::string() : hasher->hex());
    return hexes;
}

}  // namespace gw::platform
