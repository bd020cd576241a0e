// The one writer that puts files into place: what it does to what stands at the name, and the
// failures that must leave the folder as it was.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/FileWriter.h"
#include "support/TempEnvironment.h"

namespace fs = std::filesystem;
using gw::platform::FileStamp;
using gw::platform::FileTag;
using gw::platform::FileWriter;
using gw::platform::ReadStandingFile;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool writeFile(const std::string& folder, const std::string& name) {
    FileWriter file(folder, name);
    return file.write("new", 3) && file.commit();
}

}  // namespace

TEST(FileWriter, ALinkAtTheNameIsReplacedNotWrittenThrough) {
    const fs::path folder = gw::test::TestRoot();
    std::ofstream(folder / "victim") << "precious";
    fs::create_symlink(folder / "victim", folder / "link");
    ASSERT_TRUE(writeFile(folder.string() + "/", "link"));
    EXPECT_EQ(readFile(folder / "victim"), "precious");
    EXPECT_FALSE(fs::is_symlink(folder / "link"));
    EXPECT_EQ(readFile(folder / "link"), "new");
}

TEST(FileWriter, WhatCannotBeWrittenFailsAndLeavesTheFolderAsItWas) {
    const fs::path root = fs::path(gw::test::TestRoot()) / "folder";
    const std::string folder = root.string() + "/";
    fs::create_directories(root / "taken");
    std::ofstream(root / "kept") << "kept";
    const std::string names[] = {std::string("a\0b", 3), "taken", "a/b", std::string(300, 'n')};
    for (const std::string& name : names)
        EXPECT_FALSE(writeFile(folder, name)) << name.size();
    // A name the folder cannot hold fails before a byte is written.
    EXPECT_FALSE(FileWriter(folder, std::string(300, 'n')).open());
    EXPECT_FALSE(writeFile(folder + "missing/", "a"));
    EXPECT_EQ(std::distance(fs::directory_iterator(root), {}), 2);
    EXPECT_EQ(readFile(root / "kept"), "kept");
}

TEST(FileWriter, AReadOnlyFolderFailsAndKeepsItsFile) {
    const std::string folder = gw::test::TestRoot() + "/";
    std::ofstream(folder + "kept") << "kept";
    if (std::system(("chattr +i '" + folder + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "chattr +i is refused here (not root, or a file system without it)";
    EXPECT_FALSE(writeFile(folder, "kept"));
    std::system(("chattr -i '" + folder + "'").c_str());
    EXPECT_EQ(readFile(folder + "kept"), "kept");
}

// The tags are made from the size and date the file is left with, and read back beside them.
TEST(FileWriter, TagsGoWithTheFileAndReadBackBesideTheStampItWasLeftWith) {
    const std::string folder = gw::test::TestRoot() + "/";
    std::optional<FileStamp> left;
    {
        FileWriter file(folder, "tagged");
        file.setModified(std::chrono::system_clock::from_time_t(784111777));
        file.setTags([&](const FileStamp& stamp) {
            left = stamp;
            return std::vector<FileTag>{{"user.a", "1"}, {"user.b", std::string(5000, 'b')}};
        });
        ASSERT_TRUE(file.write("new", 3) && file.commit());
    }
    const auto standing = ReadStandingFile(folder, "tagged", {"user.a", "user.b", "user.c"});
    ASSERT_TRUE(standing && left);
    EXPECT_EQ(standing->stamp, (FileStamp{3, std::chrono::seconds(784111777)}));
    EXPECT_EQ(standing->stamp, *left);
    EXPECT_EQ(standing->tags, (std::map<std::string, std::string>{{"user.a", "1"}}));
    fs::create_symlink(folder + "tagged", folder + "link");
    fs::create_directory(folder + "folder");
    for (const char* name : {"link", "folder", "absent"})
        EXPECT_FALSE(ReadStandingFile(folder, name, {"user.a"})) << name;
}

// A file system that takes no extended attributes (ramfs) takes the file all the same.
TEST(FileWriter, AFileSystemWithoutTagsTakesTheFileWithoutThem) {
    const std::string folder = gw::test::TestRoot() + "/ramfs/";
    fs::create_directories(folder);
    EXPECT_EXIT(
        {
            // The mount lives and dies with this child's own mount namespace.
            if (::unshare(CLONE_NEWNS) != 0 ||
                ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount("none", folder.c_str(), "ramfs", 0, nullptr) != 0)
                std::_Exit(2);
            FileWriter file(folder, "plain");
            file.setTags([](const FileStamp&) { return std::vector<FileTag>{{"user.a", "1"}}; });
            const bool written = file.write("new", 3) && file.commit();
            const auto standing = ReadStandingFile(folder, "plain", {"user.a"});
            std::_Exit(
                written && standing && standing->stamp.size == 3 && standing->tags.empty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}
