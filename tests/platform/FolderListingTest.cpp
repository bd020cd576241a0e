#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/FolderListing.h"
#include "support/TempEnvironment.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(OpenFolderOrFallBack, WhatCannotBeReadOpensTheDownloadFolderThenHomeThenRoot) {
    const std::string root = gw::test::TestRoot();
    fs::create_directories(root + "/keep/a");
    std::ofstream(root + "/file.txt") << "x";
    const auto opened = [](const std::string& wanted) {
        return gw::platform::OpenFolderOrFallBack(wanted, {}).path;
    };
    for (const std::string& gone :
         {std::string(), root + "/file.txt/", root + "/gone", std::string("keep")})
        EXPECT_EQ(opened(gone), root + "/downloads") << gone;
    EXPECT_EQ(opened(root + "//keep/./a/../"), root + "/keep");
    ::setenv("XDG_DOWNLOAD_DIR", (root + "/file.txt").c_str(), 1);
    EXPECT_EQ(opened(root + "/gone"), root + "/home");
    ::setenv("HOME", "relative", 1);
    EXPECT_EQ(opened(root + "/gone"), "/");
}

// A FUSE mount whose server never answers stands for a network mount whose server is gone. A
// link into it is listed unasked, and leaves the drive that holds the link readable.
TEST(ReadFolder, ADriveThatDoesNotAnswerIsUnreadableAndNotAskedAgainNorThroughALink) {
    const std::string dead = gw::test::TestRoot() + "/dead";
    fs::create_directory(dead);
    const int server = ::open("/dev/fuse", O_RDWR);
    const std::string options =
        "fd=" + std::to_string(server) + ",rootmode=40000,user_id=0,group_id=0";
    if (server < 0 || ::mount("dead", dead.c_str(), "fuse.dead", 0, options.c_str()) != 0)
        GTEST_SKIP() << "no FUSE mount here: /dev/fuse cannot be opened or mounted";
    const std::vector<gw::platform::Volume> volumes = {{"/", "", ""}, {dead, "fuse.dead", ""}};
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(gw::platform::ReadFolder(dead, volumes, 100ms));
    EXPECT_FALSE(gw::platform::ReadFolder(dead + "/sub", volumes, 10s));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    const std::string home = gw::test::TestRoot() + "/home";
    fs::create_directories(home + "/near");
    fs::create_directory_symlink("../dead/far", home + "/far");
    const auto listed = std::chrono::steady_clock::now();
    const auto listing = gw::platform::ReadFolder(home, volumes, 10s);
    EXPECT_LT(std::chrono::steady_clock::now() - listed, 1s);
    EXPECT_EQ(listing.value_or(gw::platform::FolderListing{}).subfolders,
              (std::vector<std::string>{"far", "near"}));
    EXPECT_FALSE(gw::platform::ReadFolder(home + "/far", volumes, 100ms));
    EXPECT_TRUE(gw::platform::ReadFolder(home + "/near", volumes, 1s));
    ::close(server);  // ends the connection, and with it the wait of the thread left behind
    ::umount2(dead.c_str(), MNT_DETACH);
}
