#include <gtest/gtest.h>

#include <algorithm>
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
