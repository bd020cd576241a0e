// The speed budget's arithmetic by a clock that moves only when told, and one coarse check
// that a real engine really holds its transfers to it.
#include <gtest/gtest.h>

#include <chrono>

#include "support/DownloadServer.h"
#include "support/FakeDialup.h"
#include "transfer/SpeedBudget.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

enum class Call { Admit, Release, Until, Leave };

struct Step {
    int advanceMs;
    Call call;
    std::size_t id;
    std::size_t size;
    long expected;  // Admit: 1 or 0; Release: the id or -1; Until: milliseconds or -1
};

TEST(SpeedBudget, PaysForEveryPieceInTheOrderTheTransfersCameToWait) {
    gw::test::FakeClock clock;
    // 4 bytes a millisecond, at most 1000 in the bucket.
    gw::transfer::SpeedBudget budget(4000, clock);
    EXPECT_EQ(budget.readBytes(), 1024u);
    const Step steps[] = {
        {0, Call::Admit, 1, 512, 0},  // the bucket starts empty
        {0, Call::Until, 0, 0, 128},
        {100, Call::Release, 0, 0, -1},  // 400 bytes are not yet 512
        {28, Call::Release, 0, 0, 1},
        {0, Call::Admit, 1, 512, 1},  // paid when let go
        {0, Call::Admit, 2, 100, 0},
        {0, Call::Until, 0, 0, 25},
        {5000, Call::Admit, 1, 100, 0},  // the bucket is full, but 2 waits first
        {0, Call::Release, 0, 0, 2},
        {0, Call::Release, 0, 0, 1},
        {0, Call::Release, 0, 0, -1},
        {0, Call::Until, 0, 0, -1},   // nothing waits
        {0, Call::Admit, 2, 300, 1},  // 200 more than it was let go with: 600 left
        {0, Call::Leave, 1, 0, 0},    // 1 never took its 100: they come back
        {0, Call::Admit, 3, 700, 1},
        {0, Call::Admit, 3, 4000, 0},
        {0, Call::Until, 0, 0, 250},  // a piece larger than the bucket needs a full one
        {250, Call::Release, 0, 0, 3},
        {0, Call::Admit, 3, 4000, 1},
        {0, Call::Admit, 4, 10, 0},  // the bucket owes 3000 bytes
        {0, Call::Until, 0, 0, 753},
        {0, Call::Leave, 4, 0, 0},
        {0, Call::Until, 0, 0, -1},
    };
    int index = 0;
    for (const Step& step : steps) {
        clock.current += milliseconds(step.advanceMs);
        long got = 0;
        switch (step.call) {
            case Call::Admit:
                got = budget.admit(step.id, step.size) ? 1 : 0;
                break;
            case Call::Release: {
                const auto released = budget.release();
                got = released ? static_cast<long>(*released) : -1;
                break;
            }
            case Call::Until: {
                const auto until = budget.untilRelease();
                got = until ? static_cast<long>(until->count()) : -1;
                break;
            }
            case Call::Leave:
                budget.leave(step.id);
                break;
        }
        EXPECT_EQ(got, step.expected) << "step " << index;
        ++index;
    }
}

// Without the budget the files arrive in a few milliseconds from the local server.
TEST(SpeedBudget, AnEngineUnderTheBudgetTakesAsLongAsTheLimitSays) {
    gw::test::DownloadServer server;
    gw::platform::TransferEngine engine;
    constexpr std::uint64_t kRate = 512 * 1024;
    ASSERT_TRUE(gw::transfer::LimitSpeed(engine, kRate));
    const std::string names[] = {"f0.zip", "f1.zip", "f2.zip"};
    std::string bodies[3];
    const auto request = [&](int i) {
        gw::platform::Request r;
        r.address = server.url("/files/" + names[i]);
        r.sink = [&bodies, i](const char* data, std::size_t size) {
            bodies[i].append(data, size);
            return true;
        };
        return r;
    };
    const auto start = Clock::now();
    EXPECT_TRUE(engine.Fetch(request(0)).ok);
    const auto fetched = Clock::now();
    engine.start(1, request(1));
    engine.start(2, request(2));
    for (int done = 0; done < 2;) {
        for (const gw::platform::FinishedTransfer& finished : engine.step(milliseconds(10))) {
            EXPECT_TRUE(finished.result.ok) << finished.result.error;
            ++done;
        }
    }
    const auto both = Clock::now();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(bodies[i], gw::test::FileBytes(names[i])) << i;
    // 300 KiB, then 600 KiB, at 512 KiB a second.
    EXPECT_GE(fetched - start, milliseconds(500));
    EXPECT_GE(both - fetched, milliseconds(1000));
}

}  // namespace
