#include <gtest/gtest.h>

#include "settings/SettingsFiles.h"
#include "settings/SettingsStore.h"

using gw::settings::ReadSection;
using gw::settings::ReadSetting;
using gw::settings::WriteSettings;
using gw::test::ReadBytes;
using gw::test::SettingsPath;

TEST(SettingsStore, SeveralValuesGoInOneReplaceOrNotAtAll) {
    ASSERT_TRUE(WriteSettings("GrabWright", "History", {{"URL1", "http://one/"}}));
    gw::test::ReplaceCounter counter;
    ASSERT_TRUE(WriteSettings("Grabwright", "history",
                              {{"url1", "http://first/"}, {"URL2", "x"}, {"URL2", "http://two/"}}));
    EXPECT_EQ(counter.replaces(), 1);
    EXPECT_EQ(ReadBytes(SettingsPath()), "[History]\nURL1=http://first/\nURL2=http://two/\n");

    const std::string before = ReadBytes(SettingsPath());
    EXPECT_FALSE(WriteSettings("GrabWright", "History", {{"URL3", "x"}, {"URL=4", "y"}}));
    EXPECT_EQ(ReadBytes(SettingsPath()), before);
    EXPECT_EQ(counter.replaces(), 1);
}

// A file of many keys in many sections reads whole and survives a write byte for byte.
TEST(SettingsStore, AFileOfEightyThousandKeysRoundTrips) {
    std::string file = "[History]\nURL1=http://one/\n";
    for (int s = 0; s < 40000; ++s)
        file += "\n[Section" + std::to_string(s) + "]\nKey=value " + std::to_string(s) + "\n";
    file += "\n[Big]\n";
    for (int k = 0; k < 40000; ++k)
        file += "Key" + std::to_string(k) + "=v" + std::to_string(k) + "\n";
    gw::test::WriteBytes(SettingsPath(), file);

    EXPECT_EQ(ReadSetting("GrabWright", "section39999", "key"), "value 39999");
    EXPECT_EQ(ReadSection("GrabWright", "Big").entries().size(), 40000u);
    ASSERT_TRUE(gw::settings::WriteSetting("GrabWright", "History", "URL1", "http://new/"));
    file.replace(file.find("http://one/"), 11, "http://new/");
    EXPECT_EQ(ReadBytes(SettingsPath()), file);
}
