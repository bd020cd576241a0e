// The page fetch and its temporary page file: what stands at the file's name, the folder it
// lives in, and pages that arrive compressed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "retrieval/PageFetch.h"
#include "retrieval/TempFolder.h"
#include "support/GzipPage.h"
#include "support/HttpServer.h"

namespace fs = std::filesystem;
using gw::retrieval::FetchOutcome;

namespace {

void serve(httplib::Server& server, std::stop_token) {
    server.Get("/page", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("<a href=\"a.zip\">x</a>\r\ny", "text/html");
    });
    // Compressed whether the client asked for it or not, as some servers do.
    server.Get("/gzip-always", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("Content-Encoding", "gzip");
        res.set_content(gw::test::kGzipPageBytes, "text/html");
    });
    server.Get("/gzip-if-asked", [](const httplib::Request& req, httplib::Response& res) {
        if (req.get_header_value("Accept-Encoding").find("gzip") == std::string::npos) {
            res.set_content("not asked", "text/html");
            return;
        }
        res.set_header("Content-Encoding", "gzip");
        res.set_content(gw::test::kGzipPageBytes, "text/html");
    });
}

std::string contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct PageFileTest : testing::Test {
    gw::test::HttpServer server{serve};
    gw::platform::TransferEngine transfer;
    std::string temp = gw::retrieval::WizardTempFile();

    gw::retrieval::FetchedPage fetch(const std::string& path) {
        return gw::retrieval::FetchPage(transfer, server.url(path), temp);
    }
};

}  // namespace

TEST_F(PageFileTest, WhatIsPlantedAtTheNameIsReplacedNeverWrittenThroughOrWaitedOn) {
    const fs::path victim = fs::path(temp).parent_path() / "victim";
    struct Case {
        const char* name;
        std::function<void()> plant;
    };
    int heldFifo = -1;
    const Case cases[] = {
        {"symbolic link", [&] { fs::create_symlink(victim, temp); }},
        {"hard link", [&] { fs::create_hard_link(victim, temp); }},
        // Held open for reading and writing, so that a fetch that used it would fail
        // rather than wait for a reader forever.
        {"fifo",
         [&] {
             ASSERT_EQ(::mkfifo(temp.c_str(), 0600), 0);
             heldFifo = ::open(temp.c_str(), O_RDWR | O_NONBLOCK);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(victim) << "precious";
        c.plant();
        const gw::retrieval::FetchedPage page = fetch("/page");
        EXPECT_EQ(page.outcome, FetchOutcome::Fetched) << page.error;
        EXPECT_EQ(page.bytes, "<a href=\"a.zip\">x</a>\r\ny");
        EXPECT_EQ(contentOf(victim), "precious");
        EXPECT_FALSE(fs::exists(fs::symlink_status(temp)));
        fs::remove(temp);
    }
    if (heldFifo >= 0)
        ::close(heldFifo);
}

TEST_F(PageFileTest, CompressedPageGivesItsDecodedBytes) {
    for (const char* path : {"/gzip-always", "/gzip-if-asked"}) {
        SCOPED_TRACE(path);
        const gw::retrieval::FetchedPage page = fetch(path);
        EXPECT_EQ(page.outcome, FetchOutcome::Fetched) << page.error;
        EXPECT_EQ(page.bytes, gw::test::kGzipPageText);
    }
}

TEST(TempFolderTest, WithoutACacheFolderAPrivateFolderOfThisRun) {
    ::unsetenv("XDG_CACHE_HOME");
    ::unsetenv("HOME");
    const std::string temp = gw::retrieval::WizardTempFile();
    ASSERT_NE(temp, "");
    EXPECT_EQ(temp, gw::retrieval::WizardTempFile());
    const fs::path folder = fs::path(temp).parent_path();
    EXPECT_NE(folder, "/tmp/grabwright");
    struct stat info {};
    ASSERT_EQ(::lstat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    EXPECT_EQ(info.st_uid, ::geteuid());
}

TEST(TempFolderTest, TheCacheFolderMustBeTheUsersOwnAndPrivate) {
    const fs::path folder = fs::path(std::getenv("XDG_CACHE_HOME")) / "grabwright";
    fs::create_directories(folder);
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(gw::retrieval::WizardTempFile(), (folder / "temp.tmp").string());
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);

    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a folder to another user";
    ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
    std::string why;
    EXPECT_EQ(gw::retrieval::WizardTempFile(&why), "");
    EXPECT_NE(why.find("another user"), std::string::npos) << why;
}
