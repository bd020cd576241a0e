#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <functional>

#include "settings/SettingsFiles.h"
#include "settings/SettingsStore.h"
#include "support/TempEnvironment.h"

using gw::settings::ReadSetting;
using gw::settings::WriteSetting;
using gw::test::ReadBytes;
using gw::test::SettingsPath;
namespace fs = std::filesystem;

namespace {

using Undo = std::function<void()>;

// Root ignores permission bits; the immutable flag stops it from adding names to a folder.
bool setImmutable(const fs::path& folder, bool on) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int flags = 0;
    bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0)
        ::close(fd);
    return done;
}

struct FailedWrite {
    const char* name;
    std::function<Undo()> prepare;  // runs after URL1 has been stored
    std::string section = "History";
    std::string key = "URL1";
    std::string value = "http://new/";
    std::string application = "GrabWright";
};

void PrintTo(const FailedWrite& c, std::ostream* out) {
    *out << c.name;
}

class FailedWriteTest : public testing::TestWithParam<FailedWrite> {};

}  // namespace

TEST_P(FailedWriteTest, ReturnsFalseAndLeavesTheOldFileAsItWas) {
    const FailedWrite& write = GetParam();
    ASSERT_TRUE(WriteSetting("GrabWright", "History", "URL1", "http://kept/"));
    const std::string before = ReadBytes(SettingsPath());
    const fs::path folder = SettingsPath().parent_path();
    Undo undo = write.prepare ? write.prepare() : Undo{};
    if (!undo && write.prepare)
        GTEST_SKIP() << "this file system cannot set it up";

    EXPECT_FALSE(WriteSetting(write.application, write.section, write.key, write.value));
    if (undo)
        undo();
    EXPECT_EQ(ReadBytes(SettingsPath()), before);
    EXPECT_EQ(ReadSetting("GrabWright", "History", "URL1"), "http://kept/");
    EXPECT_EQ(gw::test::FilesIn(folder), 1) << "no temporary file left behind";
}

INSTANTIATE_TEST_SUITE_P(
    SettingsStore, FailedWriteTest,
    testing::Values(
        FailedWrite{"ImmutableFolder",
                    [] {
                        const fs::path folder = SettingsPath().parent_path();
                        return setImmutable(folder, true)
                                   ? Undo([folder] { setImmutable(folder, false); })
                                   : Undo{};
                    }},
        // A disk that fills up part of the way through the new file.
        FailedWrite{"FileSizeLimitMidWrite",
                    [] {
                        rlimit old{};
                        ::getrlimit(RLIMIT_FSIZE, &old);
                        rlimit small = old;
                        small.rlim_cur = 4096;
                        ::setrlimit(RLIMIT_FSIZE, &small);
                        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
                        return Undo([old, handler] {
                            ::setrlimit(RLIMIT_FSIZE, &old);
                            std::signal(SIGXFSZ, handler);
                        });
                    },
                    "History", "URL2", std::string(100000, 'v')},
        FailedWrite{"KeyWithEqualsSign", {}, "History", "URL=2"},
        FailedWrite{"KeyLikeAComment", {}, "History", ";URL2"},
        FailedWrite{"KeyWithBlanksAround", {}, "History", " URL2"},
        FailedWrite{"EmptyKey", {}, "History", ""},
        FailedWrite{"SectionWithBracket", {}, "Hist]ory", "URL2"},
        FailedWrite{"ApplicationWithSlash", {}, "History", "URL1", "x", "../grabwright"},
        FailedWrite{
            "ApplicationWithNul", {}, "History", "URL1", "x", std::string("grabwright\0x", 12)}),
    [](const testing::TestParamInfo<FailedWrite>& info) { return info.param.name; });

TEST(SettingsStore, NothingCanBeStoredWhereThereIsNoFileToReplace) {
    struct Case {
        const char* name;
        fs::path blocker;  // a plain file or a folder in the way
        bool isFolder;
    };
    const std::string root = gw::test::TestRoot();
    const Case table[] = {
        {"config folder is a plain file", root + "/config", false},
        {"settings file is a folder", root + "/config/grabwright.ini", true},
    };
    for (const Case& c : table) {
        fs::remove_all(root + "/config");
        if (c.isFolder)
            fs::create_directories(c.blocker / "inside");
        else
            gw::test::WriteBytes(c.blocker, "not a folder");
        EXPECT_FALSE(WriteSetting("GrabWright", "History", "URL1", "x")) << c.name;
        EXPECT_EQ(ReadSetting("GrabWright", "History", "URL1"), "") << c.name;
        EXPECT_EQ(c.isFolder ? fs::is_directory(c.blocker / "inside")
                             : ReadBytes(c.blocker) == "not a folder",
                  true)
            << c.name;
    }
}
