#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "settings/AddressHistory.h"
#include "settings/SettingsFiles.h"
#include "settings/SettingsStore.h"

using gw::settings::ReadAddressHistory;
using gw::settings::ReadSetting;
using gw::settings::WriteSetting;
using gw::test::ReadBytes;
using gw::test::SettingsPath;
using gw::test::WriteBytes;

namespace {

std::string key(int index) {
    return "URL" + std::to_string(index);
}

std::string fullHistory(int keys) {
    std::string text = "[History]\n";
    for (int i = 1; i <= keys; ++i)
        text += key(i) + "=http://h" + std::to_string(i) + "/\n";
    return text;
}

struct StoredHistory {
    const char* name;
    std::string file;
    std::vector<std::string> addresses;
    std::optional<int> count;
};

}  // namespace

TEST(AddressHistory, ReadsKeysInOrderUpToTheFirstEmptyOne) {
    std::vector<std::string> all256;
    for (int i = 1; i <= 256; ++i)
        all256.push_back("http://h" + std::to_string(i) + "/");
    const StoredHistory table[] = {
        {"no file", "", {}, 0},
        {"gap after the first",
         "[History]\nURL1=http://host1/\nURL2=\nURL3=http://host3/\n",
         {"http://host1/"},
         1},
        {"missing key ends it too",
         "[History]\nURL1=http://host1/\nURL3=http://host3/\n",
         {"http://host1/"},
         1},
        {"key order, not file order, and any letter case",
         "[history]\nurl2=http://b/\n[Settings]\nLastPath=/x/\n[HISTORY]\nUrl1=http://a/\n",
         {"http://a/", "http://b/"},
         2},
        {"all 256 full, the 257th unread", fullHistory(257), all256, std::nullopt},
        {"255 full", fullHistory(255), {all256.begin(), all256.end() - 1}, 255},
    };
    for (const StoredHistory& c : table) {
        std::filesystem::remove(SettingsPath());
        if (!c.file.empty())
            WriteBytes(SettingsPath(), c.file);
        const gw::settings::AddressHistory history = ReadAddressHistory();
        EXPECT_EQ(history.addresses, c.addresses) << c.name;
        EXPECT_EQ(history.count, c.count) << c.name;
    }
}

// The file must come out as 256 single writes of "" would leave it, in one replace.
TEST(AddressHistory, ClearingWritesEveryKeyEmptyInOneReplace) {
    const std::string file = "; kept\n[Settings]\nLastPath=/data/\n\n" + fullHistory(300);
    WriteBytes(SettingsPath(), file);
    for (int i = 1; i <= 256; ++i)
        ASSERT_TRUE(WriteSetting("GrabWright", "History", key(i), ""));
    const std::string clearedKeyByKey = ReadBytes(SettingsPath());

    WriteBytes(SettingsPath(), file);
    gw::test::ReplaceCounter counter;
    ASSERT_TRUE(gw::settings::ClearAddressHistory());
    EXPECT_EQ(counter.replaces(), 1);
    EXPECT_EQ(ReadBytes(SettingsPath()), clearedKeyByKey);
    EXPECT_EQ(ReadAddressHistory().count, 0);
    EXPECT_EQ(ReadSetting("GrabWright", "History", "URL257"), "http://h257/");
    EXPECT_EQ(ReadSetting("GrabWright", "Settings", "LastPath"), "/data/");

    std::filesystem::remove(SettingsPath());
    ASSERT_TRUE(gw::settings::ClearAddressHistory());
    const std::string fresh = ReadBytes(SettingsPath());
    for (int i = 1; i <= 256; ++i)
        EXPECT_NE(fresh.find(std::string("\n").append(key(i)).append("=\n")), std::string::npos)
            << i;
}

TEST(AddressHistory, SavingGoesAfterTheCountedEntries) {
    WriteBytes(SettingsPath(), "[History]\nURL1=http://one/\nURL2=\nURL3=http://three/\n");
    gw::test::ReplaceCounter counter;
    ASSERT_TRUE(
        gw::settings::SaveAddressToHistory("http://two/", ReadAddressHistory().count.value()));
    EXPECT_EQ(counter.replaces(), 1);
    EXPECT_EQ(ReadAddressHistory().addresses,
              (std::vector<std::string>{"http://one/", "http://two/", "http://three/"}));
}
