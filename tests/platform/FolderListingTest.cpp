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

// A FUSE mount whose server never answers stands for a network mount whose server is gone.
class DeadMount : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directory(dead_);
        const std::string options =
            "fd=" + std::to_string(server_) + ",rootmode=40000,user_id=0,group_id=0";
        if (server_ < 0 || ::mount("dead", dead_.c_str(), "fuse.dead", 0, options.c_str()) != 0)
            GTEST_SKIP() << "no FUSE mount here: /dev/fuse cannot be opened or mounted";
    }
    void TearDown() override {
        ::close(server_);  // ends the connection, and with it the wait of a thread left behind
        ::umount2(dead_.c_str(), MNT_DETACH);
    }

    const std::string dead_ = gw::test::TestRoot() + "/dead";
    const int server_ = ::open("/dev/fuse", O_RDWR);
    const std::vector<gw::platform::Volume> volumes_ = {{"/", "", ""}, {dead_, "fuse.dead", ""}};
};

TEST_F(DeadMount, ADriveThatDoesNotAnswerIsUnreadableAndNotAskedAgain) {
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(gw::platform::ReadFolder(dead_, volumes_, 100ms));
    EXPECT_FALSE(gw::platform::ReadFolder(dead_ + "/sub", volumes_, 10s));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
}

// A link into it is listed unasked; opening it waits its patience and leaves the drive that
// holds the link readable.
TEST_F(DeadMount, ALinkIntoItLeavesItsFolderReadable) {
    const std::string home = gw::test::TestRoot() + "/home";
    fs::create_directories(home + "/near");
    fs::create_directory_symlink("../dead/far", home + "/far");
    const auto started = std::chrono::steady_clock::now();
    const auto listing = gw::platform::ReadFolder(home, volumes_, 10s);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1s);
    ASSERT_TRUE(listing);
    EXPECT_EQ(listing->subfolders, (std::vector<std::string>{"far", "near"}));
    EXPECT_FALSE(gw::platform::ReadFolder(home + "/far", volumes_, 100ms));
    EXPECT_TRUE(gw::platform::ReadFolder(home + "/near", volumes_, 1s));
}
