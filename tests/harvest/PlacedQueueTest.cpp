#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>
#include <utility>

#include "harvest/PlacedQueue.h"

namespace gw::harvest {
namespace {

// The queue drops what was taken while texts still wait behind it: every text must come out
// as it went in, in order, through many such turns and runs of every length.
TEST(PlacedQueue, GivesEveryTextBackInOrderThroughItsCompactions) {
    PlacedQueue queue;
    std::deque<std::pair<std::size_t, std::string>> expected;
    std::mt19937 random(7);
    std::size_t key = 0;
    for (int turn = 0; turn < 200; ++turn) {
        // Long runs of pushes and pops, so the queue is at times long, at times empty.
        const bool pushing = random() % 2 == 0;
        const std::size_t run = random() % 12000;
        for (std::size_t i = 0; i < run; ++i) {
            if (pushing) {
                const std::string text(random() % 40, static_cast<char>('a' + key % 26));
                queue.push(key, text);
                expected.emplace_back(key++, text);
            } else if (!expected.empty()) {
                ASSERT_FALSE(queue.empty());
                ASSERT_EQ(queue.frontKey(), expected.front().first);
                ASSERT_EQ(queue.front(), expected.front().second);
                ASSERT_EQ(queue.frontHash(), HashAddress(expected.front().second));
                queue.pop();
                expected.pop_front();
            }
        }
        ASSERT_EQ(queue.size(), expected.size());
    }
}

}  // namespace
}  // namespace gw::harvest
