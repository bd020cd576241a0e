// Several files at once: retries by the server's word and the clock, and what the caller's
// requests to stop do to the files in progress and those not begun.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/DownloadServer.h"
#include "support/FakeDialup.h"
#include "support/TempEnvironment.h"
#include "transfer/DownloadRun.h"
#include "transfer/PartFile.h"

namespace fs = std::filesystem;
using gw::transfer::DownloadAll;
using gw::transfer::FileOutcome;
using gw::transfer::RunEvents;
using gw::transfer::RunRequest;

namespace {

std::string Folder() {
    const std::string folder = gw::test::TestRoot() + "/dest/";
    fs::create_directories(folder);
    return folder;
}

struct RetryCase {
    const char* path;
    std::chrono::milliseconds pause;
};

class RetryPause : public testing::TestWithParam<RetryCase> {};

TEST_P(RetryPause, FollowsRetryAfterUpToItsBoundAndGrowsOtherwise) {
    gw::test::DownloadServer server;
    gw::test::InstalledFakes fakes;
    const auto files = DownloadAll({server.url(GetParam().path)}, Folder(), 4, {});
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].result.outcome, FileOutcome::Written) << files[0].result.error;
    EXPECT_EQ(fakes.clock.slept, GetParam().pause);
    EXPECT_EQ(server.hits(GetParam().path), 2);
}

INSTANTIATE_TEST_SUITE_P(Retries, RetryPause,
                         testing::Values(RetryCase{"/busy/b.zip", std::chrono::seconds(0)},
                                         RetryCase{"/later/l.zip", std::chrono::seconds(30)},
                                         RetryCase{"/flaky/f.zip", std::chrono::seconds(1)}));

TEST(DownloadAll, FinishingTheStartedFilesLeavesTheRestUnbegun) {
    gw::test::DownloadServer server;
    const std::string folder = Folder();
    RunEvents events;
    bool stop = false;
    events.request = [&] { return stop ? RunRequest::FinishStarted : RunRequest::Continue; };
    events.progress = [&](const std::vector<gw::transfer::FileStatus>& files) {
        stop = files[0].started;
    };
    const auto files = DownloadAll(
        {server.url("/slow/a.zip"), server.url("/files/b.zip"), server.url("/files/c.zip")}, folder,
        1, events);
    EXPECT_EQ(files[0].result.outcome, FileOutcome::Written);
    EXPECT_FALSE(files[1].started);
    EXPECT_FALSE(files[2].started);
    EXPECT_EQ(server.hits("/files/b.zip"), 0);
    EXPECT_TRUE(fs::exists(folder + "a.zip"));
}

TEST(DownloadAll, AbortingEndsEveryFileInProgressAndRemovesItsTemporaryFile) {
    gw::test::DownloadServer server;
    const std::string folder = Folder();
    RunEvents events;
    int turns = 0;
    events.request = [&] { return ++turns > 20 ? RunRequest::AbortNow : RunRequest::Continue; };
    const auto files = DownloadAll({server.url("/trickle/a.zip"), server.url("/trickle/b.zip")},
                                   folder, 2, events);
    for (const auto& file : files)
        EXPECT_EQ(file.result.outcome, FileOutcome::Aborted);
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST(DownloadAll, AFileWaitingForItsRetryFailsWhenTheCallerWantsNoMore) {
    gw::test::DownloadServer server;
    gw::test::InstalledFakes fakes;
    RunEvents events;
    bool failedOnce = false;
    events.request = [&] { return failedOnce ? RunRequest::FinishStarted : RunRequest::Continue; };
    events.progress = [&](const std::vector<gw::transfer::FileStatus>& files) {
        failedOnce = !files[0].result.error.empty();
    };
    const auto files = DownloadAll({server.url("/reset/r.zip")}, Folder(), 1, events);
    EXPECT_EQ(files[0].result.outcome, FileOutcome::FetchFailed);
    EXPECT_EQ(server.hits("/reset/r.zip"), 1);
}

}  // namespace
