#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/Folders.h"
#include "platform/UserFolders.h"
#include "support/TempEnvironment.h"

namespace fs = std::filesystem;

TEST(ListSubfolders, FoldersOnlyWithoutDotNamesInCaseBlindOrder) {
    const fs::path root = fs::path(gw::test::TestRoot()) / "list";
    for (const char* name : {"b", "A", "a", "C", ".hidden", "target/inner"})
        fs::create_directories(root / name);
    std::ofstream(root / "file.txt") << "x";
    fs::create_directory_symlink(root / "target", root / "link");
    fs::create_symlink(root / "file.txt", root / "filelink");
    EXPECT_EQ(gw::platform::ListSubfolders(root.string()),
              (std::vector<std::string>{"A", "a", "b", "C", "link", "target"}));
    EXPECT_TRUE(gw::platform::ListSubfolders((root / "missing").string()).empty());
    EXPECT_TRUE(gw::platform::IsOpenableFolder(root.string()));
    EXPECT_FALSE(gw::platform::IsOpenableFolder((root / "file.txt").string()));
    EXPECT_FALSE(gw::platform::IsOpenableFolder((root / "missing").string()));
}

TEST(DownloadFolder, UserDirsFileThenEnvironmentThenHomeAndCreatedWhenMissing) {
    const std::string root = gw::test::TestRoot();
    EXPECT_EQ(gw::platform::DownloadFolder(), root + "/downloads");

    std::ofstream(gw::platform::ConfigFolder() + "/user-dirs.dirs")
        << "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
           "XDG_DOWNLOAD_DIR=\"$HOME/Get/\"\n";
    EXPECT_EQ(gw::platform::DownloadFolder(), root + "/home/Get");
    EXPECT_TRUE(fs::is_directory(root + "/home/Get"));

    fs::remove(gw::platform::ConfigFolder() + "/user-dirs.dirs");
    ::unsetenv("XDG_DOWNLOAD_DIR");
    EXPECT_EQ(gw::platform::DownloadFolder(), root + "/home/Downloads");
    EXPECT_TRUE(fs::is_directory(root + "/home/Downloads"));
}
