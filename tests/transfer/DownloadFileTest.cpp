// One file into a real folder from a real local server: what lands under the name, what an
// existing file or link there becomes, and that no temporary file is ever left behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/DownloadServer.h"
#include "support/FakeDialup.h"
#include "support/TempEnvironment.h"
#include "transfer/DownloadFile.h"
#include "transfer/PartFile.h"

namespace fs = std::filesystem;
using gw::transfer::DownloadFile;
using gw::transfer::DownloadHooks;
using gw::transfer::FileOutcome;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Folder() {
    const std::string folder = gw::test::TestRoot() + "/dest/";
    fs::create_directories(folder);
    return folder;
}

bool PartFilesLeft(const std::string& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind(gw::transfer::kPartPrefix, 0) == 0)
            return true;
    }
    return false;
}

enum class Before { Nothing, OldFile, DanglingLink, LinkToOutside };
enum class After { Served, Old, Empty, Absent, StillDangling };

struct Case {
    const char* what;
    std::string path;
    Before before;
    bool emptyAfterFailure;
    FileOutcome outcome;
    After after;
};

class DownloadFileCase : public testing::TestWithParam<Case> {};

TEST_P(DownloadFileCase, LeavesTheNameAsTheRulesSay) {
    const Case& c = GetParam();
    gw::test::DownloadServer server;
    gw::test::InstalledFakes fakes;
    const std::string folder = Folder();
    const std::string name = c.path.substr(c.path.rfind('/') + 1);
    const fs::path target = folder + name;
    const fs::path outside = gw::test::TestRoot() + "/outside";
    const std::string old =
        "an older, longer file that stood here first\n" + std::string(400000, 'o');
    switch (c.before) {
        case Before::Nothing:
            break;
        case Before::OldFile:
            WriteAll(target, old);
            break;
        case Before::DanglingLink:
            fs::create_symlink(outside, target);
            break;
        case Before::LinkToOutside:
            WriteAll(outside, old);
            fs::create_symlink(outside, target);
            break;
    }
    gw::platform::UrlTransfer transfer;
    DownloadHooks hooks;
    hooks.emptyFileAfterFailedFetch = c.emptyAfterFailure;
    const auto result = DownloadFile(transfer, server.url(c.path), folder, hooks);

    EXPECT_EQ(result.outcome, c.outcome) << result.error;
    EXPECT_EQ(result.error.empty(), c.outcome == FileOutcome::Written) << result.error;
    switch (c.after) {
        case After::Served:
            EXPECT_FALSE(fs::is_symlink(target));
            EXPECT_EQ(ReadAll(target), gw::test::FileBytes(name));
            break;
        case After::Old:
            EXPECT_EQ(ReadAll(target), old);
            break;
        case After::Empty:
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target)));
            EXPECT_EQ(fs::file_size(target), 0u);
            break;
        case After::Absent:
            EXPECT_FALSE(fs::exists(fs::symlink_status(target)));
            break;
        case After::StillDangling:
            EXPECT_TRUE(fs::is_symlink(target));
            break;
    }
    if (c.before == Before::LinkToOutside) {
        EXPECT_EQ(ReadAll(outside), old);
    }
    if (c.before == Before::DanglingLink) {
        EXPECT_FALSE(fs::exists(outside));
    }
    EXPECT_FALSE(PartFilesLeft(folder));
}

INSTANTIATE_TEST_SUITE_P(
    Downloads, DownloadFileCase,
    testing::Values(Case{"clean", "/files/clean.bin", Before::Nothing, true, FileOutcome::Written,
                         After::Served},
                    Case{"replaces a longer file", "/files/a.zip", Before::OldFile, true,
                         FileOutcome::Written, After::Served},
                    Case{"404 leaves an empty file", "/missing/gone.zip", Before::Nothing, true,
                         FileOutcome::FetchFailed, After::Empty},
                    Case{"404 keeps the old file", "/missing/gone.zip", Before::OldFile, true,
                         FileOutcome::FetchFailed, After::Old},
                    Case{"404 without the empty file", "/missing/gone.zip", Before::Nothing, false,
                         FileOutcome::FetchFailed, After::Absent},
                    Case{"404 never follows a dangling link", "/missing/gone.zip",
                         Before::DanglingLink, true, FileOutcome::FetchFailed,
                         After::StillDangling},
                    Case{"reset mid-body keeps the old file", "/reset/r.zip", Before::OldFile, true,
                         FileOutcome::FetchFailed, After::Old},
                    Case{"reset mid-body leaves no partial file", "/reset/r.zip", Before::Nothing,
                         false, FileOutcome::FetchFailed, After::Absent},
                    Case{"a retry after a reset gives the whole file", "/flaky/f.zip",
                         Before::OldFile, true, FileOutcome::Written, After::Served},
                    Case{"a 503 is tried again", "/busy/b.zip", Before::Nothing, true,
                         FileOutcome::Written, After::Served},
                    Case{"a link at the name is replaced, not written through", "/files/l.zip",
                         Before::LinkToOutside, true, FileOutcome::Written, After::Served},
                    Case{"a dangling link at the name is replaced", "/files/d.zip",
                         Before::DanglingLink, true, FileOutcome::Written, After::Served}),
    [](const testing::TestParamInfo<Case>& info) {
        std::string name;
        for (const char* p = info.param.what; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

TEST(DownloadFile, NamesThatCannotStandInTheFolderAreFailedWritesAndNothingIsFetched) {
    gw::test::DownloadServer server;
    const std::string folder = Folder();
    gw::platform::UrlTransfer transfer;
    for (const std::string& address :
         {server.url("/files/"), server.url("/files/.."), server.url("/files/."),
          server.url("/files/a") + std::string(1, '\0') + "b.zip"}) {
        const auto result = DownloadFile(transfer, address, folder);
        EXPECT_EQ(result.outcome, FileOutcome::WriteFailed) << address;
    }
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_EQ(server.hits("/files/a"), 0);
}

TEST(DownloadFile, AReplacedFileKeepsItsPermissionBitsAndANewOneFollowsTheUmask) {
    gw::test::DownloadServer server;
    const std::string folder = Folder();
    WriteAll(folder + "kept.zip", "old");
    fs::permissions(folder + "kept.zip", fs::perms(0640));
    const mode_t previous = ::umask(022);
    gw::platform::UrlTransfer transfer;
    DownloadFile(transfer, server.url("/files/kept.zip"), folder);
    DownloadFile(transfer, server.url("/files/new.zip"), folder);
    ::umask(previous);
    EXPECT_EQ(fs::status(folder + "kept.zip").permissions(), fs::perms(0640));
    EXPECT_EQ(fs::status(folder + "new.zip").permissions(), fs::perms(0644));
    EXPECT_EQ(ReadAll(folder + "kept.zip"), gw::test::FileBytes("kept.zip"));
}

TEST(DownloadFile, TriesFollowTheKindOfFailureAndTheirPausesLetTheWindowRun) {
    gw::test::DownloadServer server;
    struct Case {
        const char* path;
        FileOutcome outcome;
        int tries;
        std::chrono::seconds paused;
    };
    const Case cases[] = {
        {"/flaky/w.zip", FileOutcome::Written, 2, std::chrono::seconds(1)},
        {"/reset/x.zip", FileOutcome::FetchFailed, 3, std::chrono::seconds(3)},
        {"/missing/y.zip", FileOutcome::FetchFailed, 1, std::chrono::seconds(0)},  // will not pass
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        gw::test::InstalledFakes fakes;
        gw::platform::UrlTransfer transfer;
        int calls = 0;
        DownloadHooks hooks;
        hooks.progress = [&](std::uint64_t, std::uint64_t) { return ++calls > 0; };
        const auto result = DownloadFile(transfer, server.url(c.path), Folder(), hooks);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(server.hits(c.path), c.tries);
        EXPECT_EQ(fakes.clock.slept, c.paused);
        // A pause hands control back every 20 ms of the wizard's clock.
        EXPECT_GE(calls, 50 * c.paused.count());
    }
}

TEST(DownloadFile, CancelWhileARetryWaitsEndsTheTriesAndClosingAbortsThem) {
    gw::test::DownloadServer server;
    gw::test::InstalledFakes fakes;
    const std::string folder = Folder();
    gw::platform::UrlTransfer transfer;
    DownloadHooks cancel;
    cancel.stopRetrying = [] { return true; };
    EXPECT_EQ(DownloadFile(transfer, server.url("/reset/c.zip"), folder, cancel).outcome,
              FileOutcome::FetchFailed);
    EXPECT_EQ(server.hits("/reset/c.zip"), 1);
    EXPECT_EQ(fs::file_size(folder + "c.zip"), 0u);

    DownloadHooks close;
    bool waiting = false;
    close.progress = [&](std::uint64_t, std::uint64_t) { return !waiting; };
    close.stopRetrying = [&] { return waiting = true, false; };
    EXPECT_EQ(DownloadFile(transfer, server.url("/reset/a.zip"), folder, close).outcome,
              FileOutcome::Aborted);
    EXPECT_EQ(server.hits("/reset/a.zip"), 1);
    EXPECT_FALSE(PartFilesLeft(folder));
}

TEST(DownloadFile, AbortingATrickleRemovesItsTemporaryFileAndKeepsTheOldOne) {
    gw::test::DownloadServer server;
    const std::string folder = Folder();
    WriteAll(folder + "t.zip", "old");
    gw::platform::UrlTransfer transfer;
    DownloadHooks hooks;
    hooks.progress = [](std::uint64_t received, std::uint64_t) { return received < 3; };
    const auto result = DownloadFile(transfer, server.url("/trickle/t.zip"), folder, hooks);
    EXPECT_EQ(result.outcome, FileOutcome::Aborted);
    EXPECT_EQ(ReadAll(folder + "t.zip"), "old");
    EXPECT_FALSE(PartFilesLeft(folder));
}

TEST(DownloadFile, AFolderRemovedDuringTheTransferIsAFailedWrite) {
    gw::test::DownloadServer server;
    const std::string folder = Folder();
    gw::platform::UrlTransfer transfer;
    DownloadHooks hooks;
    hooks.progress = [&](std::uint64_t received, std::uint64_t) {
        if (received > 0)
            fs::remove_all(folder);
        return true;
    };
    const auto result = DownloadFile(transfer, server.url("/slow/s.zip"), folder, hooks);
    EXPECT_EQ(result.outcome, FileOutcome::WriteFailed) << result.error;
    EXPECT_FALSE(fs::exists(folder));
}

}  // namespace
