#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/FolderListing.h"
#include "support/TempEnvironment.h"

namespace fs = std::filesystem;
using gw::platform::OpenFolderOrFallBack;

TEST(OpenFolderOrFallBack, WhatCannotBeReadOpensTheDownloadFolderThenHomeThenRoot) {
    const std::string root = gw::test::TestRoot();
    fs::create_directories(root + "/downloads/sub");
    fs::create_directories(root + "/keep/a");
    std::ofstream(root + "/file.txt") << "x";
    const std::pair<std::string, std::string> cases[] = {{"", root + "/downloads"},
                                                         {root + "/file.txt/", root + "/downloads"},
                                                         {root + "/gone/", root + "/downloads"},
                                                         {"keep", root + "/downloads"},
                                                         {root + "//keep/./a/../", root + "/keep"},
                                                         {"/", "/"}};
    for (const auto& [wanted, opened] : cases)
        EXPECT_EQ(OpenFolderOrFallBack(wanted).path, opened) << wanted;
    EXPECT_EQ(OpenFolderOrFallBack(root + "/keep").subfolders, std::vector<std::string>{"a"});

    ::setenv("XDG_DOWNLOAD_DIR", (root + "/file.txt").c_str(), 1);
    EXPECT_EQ(OpenFolderOrFallBack(root + "/gone").path, root + "/home");
    ::setenv("HOME", "relative", 1);
    EXPECT_EQ(OpenFolderOrFallBack(root + "/gone").path, "/");
}

TEST(FolderChain, RunsFromTheDriveRootDownInWholeComponents) {
    using Chain = std::vector<std::string>;
    EXPECT_EQ(gw::platform::FolderChain("/", "/"), Chain{"/"});
    EXPECT_EQ(gw::platform::FolderChain("/", "/a b/c"), (Chain{"/", "/a b", "/a b/c"}));
    EXPECT_EQ(gw::platform::FolderChain("/home", "/home/u/D"),
              (Chain{"/home", "/home/u", "/home/u/D"}));
    EXPECT_EQ(gw::platform::StoredFolderPath("/home/u"), "/home/u/");
    EXPECT_EQ(gw::platform::StoredFolderPath("/"), "/");
}
