#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/AddOn.h"
#include "support/TempEnvironment.h"

namespace fs = std::filesystem;

namespace {

enum class Entry { None, Folder, File };

struct AddOnCase {
    const char* name;
    Entry addOnFolder;
    Entry program;
    bool present;
};

void make(const fs::path& path, Entry kind) {
    if (kind == Entry::Folder)
        fs::create_directories(path);
    else if (kind == Entry::File)
        std::ofstream(path) << "x";
}

}  // namespace

TEST(AddOnPresent, NeedsTheEntryAndTheProgramFile) {
    const AddOnCase cases[] = {
        {"nothing", Entry::None, Entry::None, false},
        {"folder only", Entry::Folder, Entry::None, false},
        {"file only", Entry::None, Entry::File, false},
        {"both", Entry::Folder, Entry::File, true},
        {"a folder where the program should be", Entry::Folder, Entry::Folder, false},
        {"the add-on entry is a file", Entry::File, Entry::File, true},
    };
    int n = 0;
    for (const AddOnCase& c : cases) {
        const fs::path base = fs::path(gw::test::TestRoot()) / ("base" + std::to_string(n++));
        fs::create_directories(base);
        make(base / "Tardifetch", c.addOnFolder);
        make(base / "Tardifetcher.exe", c.program);
        EXPECT_EQ(gw::platform::AddOnPresentIn(base.string()), c.present) << c.name;
        EXPECT_EQ(gw::platform::AddOnPresentIn(base.string() + "/"), c.present) << c.name;
    }
}
