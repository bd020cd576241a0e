// The hand-over between the media reading's thread and the anchor walk's: order, the bound on
// what waits, and a stop on either side ending the other's wait.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "harvest/WalkedStretches.h"

namespace gw::harvest {
namespace {

TEST(WalkedStretches, HandsOverInOrderWithinItsSlotsAndAStopEndsEitherWait) {
    constexpr std::size_t kStretches = 200;
    const struct {
        const char* name;
        std::size_t walkerStopsAt, takerStopsAt;  // kStretches: never
        bool slowTaker;
    } rows[] = {{"a slow taker holds the walker back", kStretches, kStretches, true},
                {"a slow walker holds the taker back", kStretches, kStretches, false},
                {"the walker stops", 50, kStretches, false},
                {"the taker stops", kStretches, 50, true}};
    for (const auto& row : rows) {
        WalkedStretches walked;
        std::atomic<std::size_t> filled{0}, taken{0}, mostAhead{0};
        std::thread walker([&] {
            for (std::size_t stretch = 0; stretch < kStretches; ++stretch) {
                if (stretch == row.walkerStopsAt)
                    return walked.Stop();
                PlacedQueue* into = walked.NextToFill();
                if (!into)
                    return;
                into->push(stretch, std::to_string(stretch));
                if (!row.slowTaker)
                    std::this_thread::sleep_for(std::chrono::microseconds(50));
                walked.Filled(stretch % 2 == 1);
                mostAhead = std::max(mostAhead.load(), ++filled - taken);
            }
        });
        std::size_t next = 0;
        bool baseRead = false;
        while (PlacedQueue* stretch = walked.NextWalked(true, baseRead)) {
            if (next == row.takerStopsAt) {
                walked.Stop();
                break;
            }
            ASSERT_EQ(stretch->size(), 1u) << row.name;
            EXPECT_EQ(stretch->front(), std::to_string(next)) << row.name;
            EXPECT_EQ(baseRead, next % 2 == 1) << row.name;
            stretch->pop();
            ++taken;
            walked.Taken();
            ++next;
            if (row.slowTaker)
                std::this_thread::sleep_for(std::chrono::microseconds(50));
            if (next == kStretches)
                break;
        }
        walker.join();
        // A stop may leave walked stretches untaken, never one taken out of turn.
        if (row.walkerStopsAt == kStretches && row.takerStopsAt == kStretches) {
            EXPECT_EQ(next, kStretches) << row.name;
        }
        EXPECT_LE(next, std::min(row.walkerStopsAt, row.takerStopsAt)) << row.name;
        EXPECT_LE(mostAhead.load(), WalkedStretches::kSlots) << row.name;
    }
}

}  // namespace
}  // namespace gw::harvest
