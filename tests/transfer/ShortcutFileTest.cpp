#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/TempEnvironment.h"
#include "transfer/ShortcutFile.h"

namespace fs = std::filesystem;
using gw::transfer::WriteShortcut;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct ShortcutFileTest : testing::Test {
    fs::path folder = fs::path(gw::test::TestRoot()) / "Tardifetch";
    std::string prefix = folder.string() + "/";
    void SetUp() override { fs::create_directories(folder); }
};

}  // namespace

TEST_F(ShortcutFileTest, NameAndBytesFollowTheAddress) {
    struct Case {
        std::string address, name, bytes;
    };
    const Case cases[] = {
        {"http://h/d/a.zip", "a.zip.url", "[InternetShortcut]\r\nURL=http://h/d/a.zip\r\n"},
        {"http://h/d/", ".url", "[InternetShortcut]\r\nURL=http://h/d/\r\n"},
        {"no-slash.zip", "no-slash.zip.url", "[InternetShortcut]\r\nURL=no-slash.zip\r\n"},
        {"http://h/..", "...url", "[InternetShortcut]\r\nURL=http://h/..\r\n"},
        {"http://h/a\nb\r\nc.zip", "a\nb\r\nc.zip.url",
         "[InternetShortcut]\r\nURL=http://h/a%0Ab%0D%0Ac.zip\r\n"},
        {"http://h/x%20y.zip?q=1", "x%20y.zip?q=1.url",
         "[InternetShortcut]\r\nURL=http://h/x%20y.zip?q=1\r\n"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteShortcut(prefix, c.address)) << c.address;
        EXPECT_EQ(readFile(folder / c.name), c.bytes) << c.address;
    }
    // Nothing but the shortcuts is left behind.
    EXPECT_EQ(namesIn(folder).size(), std::size(cases));
}

TEST_F(ShortcutFileTest, LinkAtTheNameIsReplacedNotWrittenThrough) {
    const fs::path victim = fs::path(gw::test::TestRoot()) / "victim";
    std::ofstream(victim) << "precious";
    fs::create_symlink(victim, folder / "a.zip.url");
    ASSERT_TRUE(WriteShortcut(prefix, "http://h/a.zip"));
    EXPECT_EQ(readFile(victim), "precious");
    EXPECT_FALSE(fs::is_symlink(folder / "a.zip.url"));
    EXPECT_EQ(readFile(folder / "a.zip.url"), "[InternetShortcut]\r\nURL=http://h/a.zip\r\n");
}

TEST_F(ShortcutFileTest, ShortcutsThatCannotBeWrittenFailAndLeaveNothing) {
    fs::create_directory(folder / "taken.zip.url");
    const std::string withNul = std::string("http://h/a\0b.zip", 16);
    EXPECT_FALSE(WriteShortcut(prefix, withNul));
    EXPECT_FALSE(WriteShortcut(prefix, "http://h/taken.zip"));
    EXPECT_FALSE(WriteShortcut(prefix + "missing/", "http://h/a.zip"));
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"taken.zip.url"});
}

TEST_F(ShortcutFileTest, ReadOnlyFolderIsAFailure) {
    std::ofstream(folder / "a.zip.url") << "kept";
    const std::string lock = "chattr +i '" + folder.string() + "' 2>/dev/null";
    if (std::system(lock.c_str()) != 0)
        GTEST_SKIP() << "chattr is not available here";
    const bool written = WriteShortcut(prefix, "http://h/a.zip");
    std::system(("chattr -i '" + folder.string() + "'").c_str());
    EXPECT_FALSE(written);
    EXPECT_EQ(readFile(folder / "a.zip.url"), "kept");
}
