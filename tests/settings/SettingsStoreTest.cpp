#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QString>
#include <cstdlib>

#include "settings/SettingsFiles.h"
#include "settings/SettingsStore.h"
#include "support/TempEnvironment.h"

using gw::settings::ReadSetting;
using gw::settings::WriteSetting;
using gw::test::ReadBytes;
using gw::test::SettingsPath;
namespace fs = std::filesystem;

namespace {

struct StoredValue {
    std::string value;
    std::string line;  // how a person reading the file sees it
};

}  // namespace

TEST(SettingsStore, ValuesRoundTripExactlyAndTheFileStaysReadableText) {
    const StoredValue table[] = {
        {"http://host/files/", "http://host/files/"},
        {"", ""},
        {"a;b#c=d", "a;b#c=d"},
        {";starts with a semicolon", ";starts with a semicolon"},
        {"# starts with a hash", "# starts with a hash"},
        {"[History]", "[History]"},
        {"  blanks at both ends  ", "\\x20\\x20blanks at both ends\\x20\\x20"},
        {"   ", "\\x20\\x20\\x20"},
        {"\tx\t", "\\tx\\t"},
        {"back\\slash\\x41\\", "back\\\\slash\\\\x41\\\\"},
        {"line\nfeed\rand\r\nboth", "line\\nfeed\\rand\\r\\nboth"},
        {std::string("nul\0inside", 10), "nul\\x00inside"},
        {"delete \x7f", "delete \\x7F"},
        {"\xc3\xa9t\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x93\x81",
         "\xc3\xa9t\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x93\x81"},
        {"\xff\xfe latin-1 \xe9t\xe9", "\\xFF\\xFE latin-1 \\xE9t\\xE9"},
        {"overlong \xc0\xaf surrogate \xed\xa0\x80",
         "overlong \\xC0\\xAF surrogate \\xED\\xA0\\x80"},
        {"cut off \xe6\x97", "cut off \\xE6\\x97"},
        {"\xEF\xBB\xBF"
         "bom",
         "\xEF\xBB\xBF"
         "bom"},
        {std::string(20000, 'z'), std::string(20000, 'z')},
    };
    for (std::size_t i = 0; i < std::size(table); ++i)
        ASSERT_TRUE(
            WriteSetting("GrabWright", "History", "URL" + std::to_string(i + 1), table[i].value));
    const std::string file = ReadBytes(SettingsPath());
    EXPECT_EQ(QString::fromUtf8(file).toUtf8().toStdString(), file) << "not valid UTF-8";
    for (std::size_t i = 0; i < std::size(table); ++i) {
        const std::string key = "URL" + std::to_string(i + 1);
        EXPECT_EQ(ReadSetting("GrabWright", "History", key), table[i].value) << key;
        EXPECT_NE(file.find("\n" + key + "=" + table[i].line + "\n"), std::string::npos) << key;
    }
}

TEST(SettingsStore, NamesMatchWithoutRegardToCase) {
    struct Case {
        std::string write[3];
        std::string read[3];
    };
    const Case table[] = {
        {{"GrabWright", "Settings", "LastPath"}, {"Grabwright", "Settings", "LastPath"}},
        {{"GrabWright", "History", "URL1"}, {"GRABWRIGHT", "history", "url1"}},
        {{"grabwright", "SETTINGS", "lastpath"}, {"GrabWright", "Settings", "LastPath"}},
    };
    for (const Case& c : table) {
        const std::string value = "/data/" + c.write[0] + c.write[1] + c.write[2] + "/";
        ASSERT_TRUE(WriteSetting(c.write[0], c.write[1], c.write[2], value));
        EXPECT_EQ(ReadSetting(c.read[0], c.read[1], c.read[2]), value);
    }
    EXPECT_EQ(gw::test::FilesIn(SettingsPath().parent_path()), 1) << "one file, grabwright.ini";
    EXPECT_EQ(ReadSetting("Other", "Settings", "LastPath"), "");
    EXPECT_EQ(ReadSetting("GrabWright", "History", "LastPath"), "");
    EXPECT_EQ(ReadSetting("GrabWright", "Settings", "LastPat"), "");
}

TEST(SettingsStore, TheFileIsTheOwnersAloneWhereverItIsKept) {
    const std::string root = gw::test::TestRoot();
    struct Case {
        const char* name;
        std::string configHome;  // "" leaves the variable unset
        std::string linkTarget;  // when not "", grabwright.ini is a symbolic link to it
        std::string expectedFile;
    };
    const Case table[] = {
        {"config folder missing", root + "/new/config", "", root + "/new/config/grabwright.ini"},
        {"relative variable", "relative/config", "", root + "/home/.config/grabwright.ini"},
        {"no variable", "", "", root + "/home/.config/grabwright.ini"},
        {"symbolic link", root + "/config", root + "/dotfiles/gw.ini", root + "/dotfiles/gw.ini"},
    };
    struct UmaskGuard {
        mode_t old = ::umask(0);
        ~UmaskGuard() { ::umask(old); }
    } permissiveUmask;
    for (const Case& c : table) {
        if (c.configHome.empty())
            ::unsetenv("XDG_CONFIG_HOME");
        else
            ::setenv("XDG_CONFIG_HOME", c.configHome.c_str(), 1);
        if (!c.linkTarget.empty()) {
            gw::test::WriteBytes(c.linkTarget, "[Settings]\nLastPath=/old/\n");
            fs::permissions(c.linkTarget, fs::perms(0644));
            fs::create_symlink(c.linkTarget, SettingsPath());
        }
        ASSERT_TRUE(WriteSetting("GrabWright", "History", "URL1", c.name)) << c.name;
        EXPECT_EQ(ReadSetting("GrabWright", "History", "URL1"), c.name);
        struct stat info {};
        ASSERT_EQ(::stat(c.expectedFile.c_str(), &info), 0) << c.name;
        EXPECT_EQ(info.st_mode & 07777, 0600u) << c.name;
        EXPECT_EQ(ReadSetting("GrabWright", "Settings", "LastPath"),
                  c.linkTarget.empty() ? "" : "/old/");
    }
    EXPECT_TRUE(fs::is_symlink(SettingsPath()));
}
