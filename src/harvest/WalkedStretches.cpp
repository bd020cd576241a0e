#include "harvest/WalkedStretches.h"

namespace gw::harvest {

PlacedQueue* WalkedStretches::NextToFill() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return stopped_ || filled_ - taken_ < kSlots; });
    return stopped_ ? nullptr : &queues_[filled_ % kSlots];
}

void WalkedStretches::Filled(bool baseRead) {
    {
        std::lock_guard lock(mutex_);
        baseRead_[filled_ % kSlots] = baseRead;
        ++filled_;
    }
    changed_.notify_all();
}

PlacedQueue* WalkedStretches::NextWalked(bool wait, bool& baseRead) {
    std::unique_lock lock(mutex_);
    if (wait)
        changed_.wait(lock, [this] { return stopped_ || taken_ < filled_; });
    if (stopped_ || taken_ == filled_)
        return nullptr;
    baseRead = baseRead_[taken_ % kSlots];
    return &queues_[taken_ % kSlots];
}

void WalkedStretches::Taken() {
    {
        std::lock_guard lock(mutex_);
        ++taken_;
    }
    changed_.notify_all();
}

void WalkedStretches::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    changed_.notify_all();
}

}  // namespace gw::harvest
