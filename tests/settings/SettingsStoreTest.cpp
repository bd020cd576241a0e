#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/UserFolders.h"
#include "settings/SettingsStore.h"

using gw::settings::ReadSetting;
using gw::settings::WriteSetting;
namespace fs = std::filesystem;

namespace {

fs::path iniPath() { return fs::path(gw::platform::ConfigFolder()) / "grabwright.ini"; }

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void spit(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

TEST(SettingsStore, ValuesRoundTripExactly) {
    const std::string values[] = {
        "http://host/files/",
        "",
        "a;b#c=d",
        ";starts with a semicolon",
        "# starts with a hash",
        "  leading and trailing blanks  ",
        " ",
        "back\\slash\\x41",
        "line\nfeed\rand\r\nboth",
        std::string("nul\0inside", 10),
        "tab\tand \x7f delete",
        "\xc3\xa9t\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac",
        "\xff\xfe invalid utf-8",
        "[Section]",
        "=",
    };
    int index = 0;
    for (const std::string& value : values) {
        const std::string key = "URL" + std::to_string(++index);
        ASSERT_TRUE(WriteSetting("GrabWright", "History", key, value));
    }
    index = 0;
    for (const std::string& value : values)
        EXPECT_EQ(ReadSetting("GrabWright", "History", "URL" + std::to_string(++index)), value);
}

TEST(SettingsStore, NamesMatchWithoutRegardToCase) {
    ASSERT_TRUE(WriteSetting("GrabWright", "Settings", "LastPath", "/home/u/Downloads/"));
    EXPECT_EQ(ReadSetting("Grabwright", "settings", "LASTPATH"), "/home/u/Downloads/");
    ASSERT_TRUE(WriteSetting("grabwright", "SETTINGS", "lastpath", "/tmp/"));
    EXPECT_EQ(ReadSetting("GrabWright", "Settings", "LastPath"), "/tmp/");
    EXPECT_TRUE(fs::exists(iniPath()));
    EXPECT_EQ(ReadSetting("Other", "Settings", "LastPath"), "");
    EXPECT_EQ(ReadSetting("GrabWright", "History", "LastPath"), "");
}

TEST(SettingsStore, EmptyValueIsStoredNotDeletedAndTheFileIsTheOwnersAlone) {
    ASSERT_TRUE(WriteSetting("GrabWright", "History", "URL1", "http://a/"));
    ASSERT_TRUE(WriteSetting("GrabWright", "History", "URL1", ""));
    EXPECT_EQ(ReadSetting("GrabWright", "History", "URL1"), "");
    EXPECT_NE(slurp(iniPath()).find("URL1=\n"), std::string::npos);
    struct stat info {};
    ASSERT_EQ(::stat(iniPath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(SettingsStore, DamagedLinesCostOnlyThemselvesAndTheFileIsKeptAside) {
    const std::string damaged =
        "[History]\n"
        "URL1=http://one/\n"
        "this line has no equals sign\n"
        "URL2=bad escape \\q here\n"
        "URL3=http://three/\n"
        "[Broken\n"
        "URL4=lost with its section\n"
        "[Settings]\n"
        "LastPath=/data/\n";
    spit(iniPath(), damaged);
    EXPECT_EQ(ReadSetting("GrabWright", "History", "URL1"), "http://one/");
    EXPECT_EQ(ReadSetting("GrabWright", "History", "URL2"), "");
    EXPECT_EQ(ReadSetting("GrabWright", "History", "URL3"), "http://three/");
    EXPECT_EQ(ReadSetting("GrabWright", "Settings", "LastPath"), "/data/");
    EXPECT_FALSE(fs::exists(iniPath().string() + ".bak")) << "reading changes nothing";

    ASSERT_TRUE(WriteSetting("GrabWright", "History", "URL4", "http://four/"));
    EXPECT_EQ(slurp(iniPath().string() + ".bak"), damaged);
    EXPECT_EQ(ReadSetting("GrabWright", "History", "URL1"), "http://one/");
    EXPECT_EQ(ReadSetting("GrabWright", "History", "URL4"), "http://four/");

    // The file is whole again: a later write keeps the first copy as it was.
    ASSERT_TRUE(WriteSetting("GrabWright", "History", "URL5", "http://five/"));
    EXPECT_EQ(slurp(iniPath().string() + ".bak"), damaged);
}

TEST(SettingsStore, AFailedWriteLeavesTheOldFileAlone) {
    ASSERT_TRUE(WriteSetting("GrabWright", "History", "URL1", "http://kept/"));
    const std::string before = slurp(iniPath());
    // A name that cannot stand in the file is refused rather than written wrongly.
    EXPECT_FALSE(WriteSetting("GrabWright", "History", "URL=2", "x"));
    EXPECT_FALSE(WriteSetting("GrabWright", "Hist]ory", "URL2", "x"));
    EXPECT_EQ(slurp(iniPath()), before);

    // A configuration folder that is a plain file: nothing can be written below it.
    const std::string blocked = fs::path(gw::platform::ConfigFolder()).parent_path() / "blocked";
    spit(blocked, "not a folder");
    ::setenv("XDG_CONFIG_HOME", blocked.c_str(), 1);
    EXPECT_FALSE(WriteSetting("GrabWright", "History", "URL1", "x"));
    EXPECT_EQ(ReadSetting("GrabWright", "History", "URL1"), "");
}

TEST(SettingsStore, NoTemporaryFilesAreLeftBehind) {
    for (int i = 1; i <= 256; ++i)
        ASSERT_TRUE(WriteSetting("GrabWright", "History", "URL" + std::to_string(i), ""));
    int files = 0;
    for (const auto& entry : fs::directory_iterator(iniPath().parent_path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
}
