#pragma once

#include <array>
#include <condition_variable>
#include <cstddef>
#include <mutex>

#include "harvest/PlacedQueue.h"

namespace gw::harvest {

// Stretches of a page that one thread's media reading has walked, taken in order by the thread
// of the anchor walk. Each side runs on while the other is busy with a stretch that costs it
// more (the first pictures of a page cost the reading most), up to kSlots stretches apart, so
// that what waits stays within kSlots stretches' finds. Either side may stop; the other then
// gets nullptr.
class WalkedStretches {
  public:
    static constexpr std::size_t kSlots = 8;

    // The walker's queue for its next stretch, once a slot is free.
    PlacedQueue* NextToFill();
    // The walker's stretch is walked; `baseRead`: by its end the walk has read a <base>.
    void Filled(bool baseRead);
    // The next walked stretch, nullptr while none is (`wait`: waits for one).
    PlacedQueue* NextWalked(bool wait, bool& baseRead);
    // The taker is done with what NextWalked() gave.
    void Taken();
    void Stop();

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t filled_ = 0;  // stretches walked
    std::size_t taken_ = 0;   // stretches taken
    bool stopped_ = false;
    std::array<PlacedQueue, kSlots> queues_;
    std::array<bool, kSlots> baseRead_{};
};

}  // namespace gw::harvest
