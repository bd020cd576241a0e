#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/Dialup.h"
#include "platform/UserFolders.h"
#include "support/FakeDialup.h"
#include "support/TempEnvironment.h"

namespace fs = std::filesystem;
using gw::platform::HangUpOutcome;
using gw::platform::PppDialup;

namespace {

void writeFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

// A fake "/" with the interfaces given as name -> flags.
std::string layOutRoot(std::initializer_list<std::pair<std::string, std::string>> interfaces) {
    const fs::path root = fs::path(gw::test::TestRoot()) / "root";
    fs::create_directories(root / "sys/class/net");
    for (const auto& [name, flags] : interfaces)
        writeFile(root / "sys/class/net" / name / "flags", flags);
    return root.string();
}

// A child process that just waits to be signalled.
pid_t spawnSleeper() {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::pause();
        ::_exit(0);
    }
    return pid;
}

// Reaps the child if it has died within a second; true when it was ended by SIGTERM.
bool endedBySigterm(pid_t pid) {
    for (int i = 0; i < 100; ++i) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM;
        ::usleep(10000);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return false;
}

}  // namespace

TEST(PppDialup, ActiveOnlyForPppInterfacesWhoseUpFlagIsSet) {
    struct Case {
        std::initializer_list<std::pair<std::string, std::string>> interfaces;
        bool active;
    };
    const Case cases[] = {
        {{}, false},
        {{{"eth0", "0x1003"}}, false},  // up, but not a dial-up line
        {{{"ppp0", "0x1090"}}, false},  // ppp, down
        {{{"ppp0", "0x1091"}}, true},   // ppp, up
        {{{"eth0", "0x1003"}, {"ppp1", "0x11"}}, true},
        {{{"ppp0", "garbage"}}, false},
    };
    for (const Case& c : cases) {
        const std::string root = layOutRoot(c.interfaces);
        EXPECT_EQ(PppDialup(root).active(), c.active);
        fs::remove_all(root);
    }
    EXPECT_FALSE(PppDialup("/nonexistent-root").active());
}

TEST(PppDialup, HangUpSignalsOnlyARealPppd) {
    const std::string root = layOutRoot({{"ppp0", "0x1091"}});
    const pid_t child = spawnSleeper();
    writeFile(fs::path(root) / "run/ppp0.pid", std::to_string(child) + "\n");

    // A stale pid file naming another program: never signalled, the hang-up is refused.
    writeFile(fs::path(root) / "proc" / std::to_string(child) / "comm", "bash\n");
    EXPECT_EQ(PppDialup(root).hangUp(), HangUpOutcome::Refused);
    EXPECT_EQ(::kill(child, 0), 0) << "another program was signalled";

    writeFile(fs::path(root) / "proc" / std::to_string(child) / "comm", "pppd\n");
    EXPECT_EQ(PppDialup(root).hangUp(), HangUpOutcome::Requested);
    EXPECT_TRUE(endedBySigterm(child));
}

TEST(PppDialup, HangUpRefusedWithoutAPidFileOrProcess) {
    const std::string root = layOutRoot({{"ppp0", "0x1091"}});
    EXPECT_EQ(PppDialup(root).hangUp(), HangUpOutcome::Refused);
    writeFile(fs::path(root) / "run/ppp0.pid", "999999999\n");
    writeFile(fs::path(root) / "proc/999999999/comm", "pppd\n");
    EXPECT_EQ(PppDialup(root).hangUp(), HangUpOutcome::Refused);
}

TEST(HangUpDialup, AsksUntilTheLineIsGoneButGivesUpAtTheBound) {
    using std::chrono::milliseconds;
    struct Case {
        bool up;
        int dropsAfter;
        bool refuse;
        int fewestHangUps;
        int mostHangUps;
        milliseconds fewestWait;
        milliseconds mostWait;
    };
    const Case cases[] = {
        {false, 1, false, 0, 0, {}, {}},                        // no line: nothing to do
        {true, 3, false, 3, 3, {}, milliseconds(150)},          // drops on the third request
        {true, -1, true, 1, 1, {}, {}},                         // refused: give up at once
        {true, -1, false, 2, 1000, gw::platform::kHangUpBound,  // never drops: the bound,
         gw::platform::kHangUpBound + milliseconds(100)},       // then return
    };
    for (const Case& c : cases) {
        gw::test::FakeDialup dialup;
        dialup.up = c.up;
        dialup.dropsAfter = c.dropsAfter;
        dialup.refuse = c.refuse;
        gw::test::FakeClock clock;
        int pumps = 0;
        gw::platform::HangUpDialup(dialup, clock, [&] { ++pumps; });
        EXPECT_GE(dialup.hangUpCalls, c.fewestHangUps);
        EXPECT_LE(dialup.hangUpCalls, c.mostHangUps);
        EXPECT_GE(clock.slept, c.fewestWait);
        EXPECT_LE(clock.slept, c.mostWait);
        EXPECT_GE(pumps, c.fewestHangUps - (c.refuse ? 1 : 0));
    }
}

TEST(UserFolders, FollowXdgVariablesAndIgnoreRelativeOnes) {
    ::setenv("HOME", "/home/someone/", 1);
    ::setenv("XDG_DATA_HOME", "/tmp/data/", 1);
    EXPECT_EQ(gw::platform::AddOnBaseFolder(), "/tmp/data");
    ::setenv("XDG_DATA_HOME", "relative/data", 1);
    EXPECT_EQ(gw::platform::AddOnBaseFolder(), "/home/someone/.local/share");
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(gw::platform::DataFolder(), "/home/someone/.local/share");
    ::unsetenv("XDG_CACHE_HOME");
    EXPECT_EQ(gw::platform::CacheFolder(), "/home/someone/.cache");
    ::unsetenv("HOME");
    EXPECT_EQ(gw::platform::AddOnBaseFolder(), "");
}
