#include <gtest/gtest.h>
#include <sys/stat.h>

#include <vector>

#include "settings/SettingsFiles.h"
#include "settings/SettingsStore.h"

using gw::settings::ReadSetting;
using gw::settings::WriteSetting;
using gw::test::ReadBytes;
using gw::test::SettingsPath;

namespace {

struct Expected {
    const char* section;
    const char* key;
    const char* value;  // "" for nothing stored
};

struct HandWrittenFile {
    const char* name;
    std::string text;
    bool damaged;  // some line cannot be understood: the file is kept aside before it is replaced
    std::vector<Expected> reads;
};

const std::vector<Expected> neighbours = {{"History", "URL1", "http://one/"},
                                          {"History", "URL3", "http://three/"},
                                          {"Settings", "LastPath", "/data/"}};

std::string around(const std::string& line) {
    return "[History]\nURL1=http://one/\n" + line +
           "\nURL3=http://three/\n[Settings]\n"
           "LastPath=/data/\n";
}

std::vector<Expected> withLost(const char* key) {
    std::vector<Expected> reads = neighbours;
    reads.push_back({"History", key, ""});
    return reads;
}

void PrintTo(const HandWrittenFile& c, std::ostream* out) {
    *out << c.name;
}

class HandWrittenFileTest : public testing::TestWithParam<HandWrittenFile> {};

}  // namespace

TEST_P(HandWrittenFileTest, EachLineCostsOnlyItselfAndADamagedFileIsKeptOnce) {
    const HandWrittenFile& file = GetParam();
    gw::test::WriteBytes(SettingsPath(), file.text);
    ::chmod(SettingsPath().c_str(), 0644);
    const std::string backup = SettingsPath().string() + ".bak";
    auto readsAsWritten = [&] {
        for (const Expected& e : file.reads)
            EXPECT_EQ(ReadSetting("Grabwright", e.section, e.key), e.value) << e.key;
    };
    readsAsWritten();
    EXPECT_FALSE(std::filesystem::exists(backup)) << "reading changes nothing";

    ASSERT_TRUE(WriteSetting("GrabWright", "History", "URL9", "http://nine/"));
    readsAsWritten();
    EXPECT_EQ(ReadSetting("GrabWright", "History", "URL9"), "http://nine/");
    ASSERT_EQ(std::filesystem::exists(backup), file.damaged);
    if (!file.damaged)
        return;
    EXPECT_EQ(ReadBytes(backup), file.text);
    struct stat kept {};
    ASSERT_EQ(::stat(backup.c_str(), &kept), 0);
    EXPECT_EQ(kept.st_mode & 0777, 0600u) << "the copy holds the same addresses";

    // The replaced file reads whole, so the copy of the damaged one stays as it was.
    ASSERT_TRUE(WriteSetting("GrabWright", "History", "URL10", "http://ten/"));
    struct stat later {};
    ASSERT_EQ(::stat(backup.c_str(), &later), 0);
    EXPECT_EQ(later.st_ino, kept.st_ino);
    EXPECT_EQ(ReadBytes(backup), file.text);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsStore, HandWrittenFileTest,
    testing::Values(
        HandWrittenFile{"NoEqualsSign", around("just some words"), true, withLost("just")},
        HandWrittenFile{"UnknownEscape", around("URL2=bad \\q escape"), true, withLost("URL2")},
        HandWrittenFile{"CutOffEscape", around("URL2=ends in \\x4"), true, withLost("URL2")},
        HandWrittenFile{"LoneBackslash", around("URL2=ends in \\"), true, withLost("URL2")},
        HandWrittenFile{"RawNulBytes", around(std::string("URL2=a\0b\n\0\0\0\0", 11)), true,
                        withLost("URL2")},
        HandWrittenFile{"EmptyKey", around("=value"), true, neighbours},
        HandWrittenFile{"KeyBeforeAnySection", "URL0=orphan\n" + around(""), true,
                        withLost("URL0")},
        HandWrittenFile{"BrokenHeading", around("[History\nURL2=under a broken heading\n[History]"),
                        true, withLost("URL2")},
        HandWrittenFile{"EmptyHeading", around("[]\nURL2=x\n[History]"), true, withLost("URL2")},
        HandWrittenFile{"CommentsCrLfAndByteOrderMark",
                        "\xEF\xBB\xBF; written by hand\r\n# another comment\r\n\r\n"
                        "[History]\r\nURL1=http://one/\r\n  URL3 = http://three/  \r\n"
                        "[ settings ]\r\nLastPath=/data/\r\n",
                        false, neighbours},
        HandWrittenFile{"RepeatedKeysAndSections",
                        "[History]\nURL1=http://old/\n[Settings]\nLastPath=/data/\n"
                        "[HISTORY]\nurl1=http://one/\nURL3=http://three/\n",
                        false, neighbours},
        HandWrittenFile{"EmptyFile", "", false, {{"History", "URL1", ""}}}),
    [](const testing::TestParamInfo<HandWrittenFile>& info) { return info.param.name; });
