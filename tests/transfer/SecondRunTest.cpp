// A second run into the same folder against a real local server: what its requests ask, and
// what each answer leaves at the name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/FileTags.h"
#include "support/DownloadServer.h"
#include "support/TempEnvironment.h"
#include "transfer/DownloadRun.h"
#include "transfer/KnownCopy.h"

namespace fs = std::filesystem;
using gw::transfer::FileOutcome;
using gw::transfer::FileStatus;
using gw::transfer::RunOptions;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<FileStatus> DownloadAll(const std::vector<std::string>& addresses,
                                    const std::string& folder, const RunOptions& options) {
    gw::platform::TransferEngine engine;
    return gw::transfer::DownloadAll(engine, addresses, folder, options, {});
}

// All that a run could touch at a name: the bytes, the size and date, and the tags.
struct Left {
    std::string bytes;
    std::optional<gw::platform::StandingFile> standing;

    bool operator==(const Left& other) const {
        return bytes == other.bytes && standing.has_value() == other.standing.has_value() &&
               (!standing || (standing->stamp == other.standing->stamp &&
                              standing->tags == other.standing->tags));
    }
};

Left LeftAt(const std::string& folder, const std::string& name) {
    return {ReadAll(folder + name),
            gw::platform::ReadStandingFile(
                folder, name,
                {gw::transfer::kOriginTag, gw::transfer::kReferrerTag, gw::transfer::kVersionTag})};
}

const char* const kFirstDate = "Mon, 07 Nov 1994 08:49:37 GMT";

}  // namespace

TEST(SecondRun, AsksAboutEveryUnchangedFileAndLeavesItExactlyAsItWas) {
    gw::test::DownloadServer server;
    const std::string folder = gw::test::TestRoot() + "/dest/";
    fs::create_directories(folder);
    std::vector<std::string> names;
    std::vector<std::string> addresses;
    for (int i = 0; i < 200; ++i) {
        names.push_back(std::string("f").append(std::to_string(i)).append(".zip"));
        addresses.push_back(server.url("/versioned/both/" + names.back()));
    }
    RunOptions options;
    options.jobs = 4;
    options.referrerPage = server.url("/page");
    for (const FileStatus& file : DownloadAll(addresses, folder, options))
        ASSERT_EQ(file.result.outcome, FileOutcome::Written) << file.result.error;
    std::vector<Left> before;
    for (int i = 0; i < 200; ++i)
        before.push_back(LeftAt(folder, names[i]));
    const auto& tags = before[7].standing->tags;
    EXPECT_EQ(tags.at(gw::transfer::kOriginTag), addresses[7]);
    EXPECT_EQ(tags.at(gw::transfer::kReferrerTag), server.url("/page"));
    EXPECT_NE(tags.at(gw::transfer::kVersionTag).find("ETag: \"v1\"\n"), std::string::npos);

    const auto files = DownloadAll(addresses, folder, options);
    for (int i = 0; i < 200; ++i) {
        const std::string path = "/versioned/both/" + names[i];
        EXPECT_EQ(files[i].result.outcome, FileOutcome::Unchanged) << files[i].result.error;
        EXPECT_EQ(files[i].bytes, 0u);
        EXPECT_EQ(server.heard(path).ifNoneMatch, "\"v1\"");
        EXPECT_EQ(server.heard(path).ifModifiedSince, kFirstDate);
        EXPECT_EQ(LeftAt(folder, names[i]), before[i]) << i;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 200);
}

TEST(SecondRun, WhatChangedSinceTheFirstRunIsFetchedWhole) {
    enum class Since { Nothing, NewVersion, Edited, Refetch };
    struct Row {
        const char* what;
        const char* mode;
        Since since;
        const char* ifNoneMatch;
        int version;  // of the bytes at the name afterwards
    };
    const Row rows[] = {
        {"changed on the server", "both", Since::NewVersion, "\"v1\"", 2},
        {"edited since", "both", Since::Edited, "", 1},
        {"the server ignores conditions", "ignores", Since::Nothing, "\"v1\"", 1},
        {"asked to fetch again", "both", Since::Refetch, "", 1},
    };
    for (const Row& row : rows) {
        gw::test::DownloadServer server;
        const std::string folder = gw::test::TestRoot() + "/" + row.mode + "/";
        fs::create_directories(folder);
        const std::string path = std::string("/versioned/") + row.mode + "/a.zip";
        RunOptions options;
        DownloadAll({server.url(path)}, folder, options);
        if (row.since == Since::NewVersion)
            server.newVersion();
        if (row.since == Since::Edited)
            std::ofstream(folder + "a.zip", std::ios::app) << "mine";
        options.refetch = row.since == Since::Refetch;
        const FileStatus file = DownloadAll({server.url(path)}, folder, options).at(0);
        EXPECT_EQ(file.result.outcome, FileOutcome::Written) << row.what;
        EXPECT_EQ(server.heard(path).ifNoneMatch, row.ifNoneMatch) << row.what;
        const std::string bytes = gw::test::FileBytes("a.zip" + std::to_string(row.version), 20000);
        EXPECT_EQ(ReadAll(folder + "a.zip"), bytes) << row.what;
        const auto standing = LeftAt(folder, "a.zip").standing;
        ASSERT_TRUE(standing) << row.what;
        EXPECT_NE(standing->tags.at(gw::transfer::kVersionTag)
                      .find("ETag: \"v" + std::to_string(row.version) + "\"\n"),
                  std::string::npos)
            << row.what;
    }
}
