#include <gtest/gtest.h>

#include "support/DownloadServer.h"
#include "support/FakeDialup.h"
#include "transfer/SpeedBudget.h"

namespace {
using std::chrono::milliseconds;

TEST(SpeedBudget, PaysForEveryPieceInTheOrderTheTransfersCameToWait) {
    gw::test::FakeClock clock;
    gw::transfer::SpeedBudget budget(4000, clock);  // 4 bytes a millisecond, 1000 at most
    EXPECT_EQ(budget.readBytes(), 1024u);
    // Admit: 1 or 0; Release: the id or -1; Until: milliseconds or -1; Leave: 0.
    enum Call { Admit, Release, Until, Leave };
    const struct {
        int advanceMs;
        Call call;
        std::size_t id, size;
        long expected;
    } steps[] = {
        {0, Admit, 1, 512, 0},  // the bucket starts empty
        {0, Until, 0, 0, 128},    {100, Release, 0, 0, -1},
        {28, Release, 0, 0, 1},   {0, Admit, 1, 512, 1},  // paid when let go
        {0, Admit, 2, 100, 0},    {0, Until, 0, 0, 25},
        {5000, Admit, 1, 100, 0},  // the bucket is full, but 2 waits first
        {0, Release, 0, 0, 2},    {0, Release, 0, 0, 1},
        {0, Release, 0, 0, -1},   {0, Until, 0, 0, -1},
        {0, Admit, 2, 300, 1},  // 200 more than it was let go with: 600 left
        {0, Leave, 1, 0, 0},    // 1 never took its 100: they come back
        {0, Admit, 3, 700, 1},    {0, Admit, 3, 4000, 0},
        {0, Until, 0, 0, 250},  // a piece larger than the bucket waits for a full one
        {250, Release, 0, 0, 3},  {0, Admit, 3, 4000, 1},
        {0, Admit, 4, 10, 0},  // the bucket owes 3000 bytes
        {0, Until, 0, 0, 753},    {0, Leave, 4, 0, 0},
        {0, Until, 0, 0, -1},
    };
    for (int i = 0; const auto& step : steps) {
        clock.current += milliseconds(step.advanceMs);
        long got = 0;
        if (step.call == Admit) {
            got = budget.admit(step.id, step.size);
        } else if (step.call == Release) {
            const auto released = budget.release();
            got = released ? static_cast<long>(*released) : -1;
        } else if (step.call == Until) {
            const auto until = budget.untilRelease();
            got = until ? static_cast<long>(until->count()) : -1;
        } else {
            budget.leave(step.id);
        }
        EXPECT_EQ(got, step.expected) << "step " << i++;
    }
}

// Without a budget these arrive from the local server in a few milliseconds.
TEST(SpeedBudget, AnEngineUnderTheBudgetTakesAsLongAsTheLimitSays) {
    gw::test::DownloadServer server;
    gw::platform::TransferEngine engine;
    ASSERT_TRUE(gw::transfer::LimitSpeed(engine, 512 * 1024));
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
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(engine.Fetch(request(0)).ok);
    const auto fetched = std::chrono::steady_clock::now();
    engine.start(1, request(1));
    engine.start(2, request(2));
    for (int done = 0; done < 2;) {
        for (const gw::platform::FinishedTransfer& finished : engine.step(milliseconds(10))) {
            EXPECT_TRUE(finished.result.ok) << finished.result.error;
            ++done;
        }
    }
    // 300 KiB, then 600 KiB, at 512 KiB a second, every byte once and in order.
    EXPECT_GE(fetched - start, milliseconds(500));
    EXPECT_GE(std::chrono::steady_clock::now() - fetched, milliseconds(1000));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(bodies[i], gw::test::FileBytes(names[i])) << i;
}

}  // namespace
