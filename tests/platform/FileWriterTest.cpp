// The one writer that puts files into place: what it does to what stands at the name, and the
// failures that must leave the folder as it was.
#include <gtest/gtest.h>
#include <sys/xattr.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "platform/FileWriter.h"
#include "support/TempEnvironment.h"

namespace fs = std::filesystem;
using gw::platform::FileWriter;

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

// Tags carry any bytes into place; a tag longer than 4 KiB (planted by another program) reads
// as none, as a missing one does, and costs the file nothing.
TEST(FileWriter, TagsCarryAnyBytesAndAnOversizedOneReadsAsNone) {
    const std::string folder = gw::test::TestRoot() + "/";
    std::string bytes(4000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7);
    FileWriter file(folder, "tagged");
    file.setTags([&](const gw::platform::FileStamp&) {
        return std::vector<gw::platform::FileTag>{{"user.any", bytes}};
    });
    ASSERT_TRUE(file.write("x", 1) && file.commit());
    const std::vector<std::string> names = {"user.any", "user.missing", "user.large"};
    const auto tags = gw::platform::ReadStandingFile(folder, "tagged", names).value().tags;
    if (tags.empty())
        GTEST_SKIP() << "this file system keeps no extended attributes";
    EXPECT_EQ(tags, (std::map<std::string, std::string>{{"user.any", bytes}}));
    // Where the file system holds one that long at all (not ext4).
    const std::string large(4097, 'l');
    if (::setxattr((folder + "tagged").c_str(), "user.large", large.data(), large.size(), 0) == 0) {
        EXPECT_EQ(gw::platform::ReadStandingFile(folder, "tagged", names)->tags.size(), 1u);
    }
}
