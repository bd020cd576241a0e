// A second run into the same folder against a real local server: what stands at the name and
// what the server answers decide what the request asks and what the file becomes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/DownloadServer.h"
#include "support/TempEnvironment.h"
#include "transfer/DownloadRun.h"
#include "transfer/KnownCopy.h"

namespace fs = std::filesystem;
using gw::transfer::FileOutcome;

TEST(SecondRun, WhatStandsAtTheNameAndTheAnswerDecideTheRequestAndTheFile) {
    // What became of the first run's file, or of the server's, by the second run.
    enum Since {
        NoFirstRun,
        Nothing,
        NewVersion,
        Refetch,
        Edited,
        Touched,
        Untagged,
        Elsewhere,
        Damaged,  // a byte changed, its size, date and tags kept
        Deleted,  // while the server's answer was on its way
    };
    // Which runs find a checksum list for f0.zip beside it.
    enum Listed { Never, SecondOnly, Both };
    using gw::transfer::ChecksumState;
    struct Row {
        Since since;
        std::string path;  // of both runs, before the file's name
        const char* ifNoneMatch;
        const char* ifModifiedSince;
        FileOutcome outcome;
        int files = 1;
        Listed listed = Never;
        ChecksumState checksum = ChecksumState::Unlisted;
    };
    const std::string both = "/versioned/both/";
    const char* v1 = "\"v1\"";
    const char* date = "Mon, 07 Nov 1994 08:49:37 GMT";
    const Row rows[] = {
        {Nothing, both, v1, date, FileOutcome::Unchanged, 200},
        {Nothing, "/versioned/etag/", v1, "", FileOutcome::Unchanged},
        {Nothing, "/versioned/date/", "", date, FileOutcome::Unchanged},
        {NewVersion, both, v1, date, FileOutcome::Written},
        {Nothing, "/versioned/ignores/", v1, date, FileOutcome::Written},
        {Refetch, both, "", "", FileOutcome::Written},
        {Edited, both, "", "", FileOutcome::Written},
        {Touched, both, "", "", FileOutcome::Written},
        {Untagged, both, "", "", FileOutcome::Written},
        {Elsewhere, both, "", "", FileOutcome::Written},
        {NoFirstRun, "/status/304/", "", "", FileOutcome::FetchFailed},
        // A confirmed copy is verified by the hash recorded when it arrived, or by its bytes;
        // a copy whose bytes are not the listed ones, or that went, is fetched whole.
        {Nothing, both, v1, date, FileOutcome::Unchanged, 1, Both, ChecksumState::Matched},
        {Nothing, both, v1, date, FileOutcome::Unchanged, 1, SecondOnly, ChecksumState::Matched},
        {Damaged, both, "", "", FileOutcome::Written, 1, SecondOnly, ChecksumState::Matched},
        {Damaged, both, v1, date, FileOutcome::Unchanged, 1, Never},
        {Deleted, both, "", "", FileOutcome::Written},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path + " since " + std::to_string(row.since));
        gw::test::DownloadServer server;
        const std::string folder = gw::test::TestRoot() + "/" + std::to_string(&row - rows) + "/";
        fs::create_directories(folder);
        std::vector<std::string> names;
        std::vector<std::string> addresses;
        for (int i = 0; i < row.files; ++i) {
            names.push_back(std::string("f").append(std::to_string(i)).append(".zip"));
            // A user name and password never reach the tags.
            addresses.push_back("http://u:pw@" + server.url(row.path + names.back()).substr(7));
        }
        gw::platform::TransferEngine engine;
        gw::transfer::RunOptions options;
        options.referrerPage = server.url("/page");
        server.serve(
            row.path + "SHA256SUMS",
            gw::test::HexDigest("SHA256", gw::test::FileBytes("f0.zip1", 20000)) + "  f0.zip\n");
        if (row.listed == Both)
            options.checksumLists = {server.url(row.path + "SHA256SUMS")};
        const auto first =
            row.since == Elsewhere ? std::vector{server.url("/versioned/date/f0.zip")} : addresses;
        if (row.since != NoFirstRun && row.since != Untagged)
            gw::transfer::DownloadAll(engine, first, folder, options, {});
        const std::string f0 = folder + "f0.zip";
        if (row.since == Edited || row.since == Untagged)
            std::ofstream(f0, std::ios::app) << "mine";
        if (row.since == Touched)
            fs::last_write_time(f0, fs::last_write_time(f0) + std::chrono::nanoseconds(1));
        if (row.since == NewVersion)
            server.newVersion();
        if (row.since == Damaged) {
            const auto dated = fs::last_write_time(f0);
            std::fstream(f0, std::ios::in | std::ios::out | std::ios::binary).put('!');
            fs::last_write_time(f0, dated);
        }
        if (row.listed != Never)
            options.checksumLists = {server.url(row.path + "SHA256SUMS")};
        gw::transfer::RunEvents events;
        if (row.since == Deleted)
            events.started = [&](std::size_t) { fs::remove(f0); };
        // All that a run could touch at a name: the bytes, the size and date, and the tags.
        const auto left = [&](const std::string& name) {
            std::ifstream in(folder + name, std::ios::binary);
            return std::pair(
                std::string(std::istreambuf_iterator<char>(in), {}),
                gw::platform::ReadStandingFile(folder, name, gw::transfer::kDownloadTags));
        };
        std::vector<decltype(left(""))> before;
        for (const std::string& name : names)
            before.push_back(left(name));
        options.refetch = row.since == Refetch;
        const auto files = gw::transfer::DownloadAll(engine, addresses, folder, options, events);

        for (std::size_t i = 0; i < names.size(); ++i) {
            EXPECT_EQ(server.heard(row.path + names[i]).ifNoneMatch, row.ifNoneMatch);
            EXPECT_EQ(server.heard(row.path + names[i]).ifModifiedSince, row.ifModifiedSince);
            EXPECT_EQ(files[i].result.outcome, row.outcome) << files[i].result.error;
            EXPECT_EQ(files[i].checksum, row.checksum);
            const auto after = left(names[i]);
            if (row.outcome == FileOutcome::FetchFailed)
                continue;
            ASSERT_TRUE(after.second);
            EXPECT_EQ(after.second->tags.at(gw::transfer::kOriginTag),
                      server.url(row.path + names[i]));
            EXPECT_EQ(after.second->tags.at(gw::transfer::kReferrerTag), options.referrerPage);
            // The hash is on record only where a list named the file and its bytes matched.
            EXPECT_EQ(after.second->tags.at(gw::transfer::kVersionTag).find("Checksum:") !=
                          std::string::npos,
                      i == 0 && (row.listed == Both || (row.listed == SecondOnly &&
                                                        row.outcome == FileOutcome::Written)));
            if (row.outcome == FileOutcome::Unchanged)
                EXPECT_EQ(after, before[i]);
            else
                EXPECT_EQ(
                    after.first,
                    gw::test::FileBytes(names[i] + (row.since == NewVersion ? "2" : "1"), 20000));
        }
    }
}
