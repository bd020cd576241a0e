// What a second run asks about the file standing at a name, and what the answer makes of it;
// and the version record, which anyone who can write the file can also write.
#include <gtest/gtest.h>

#include "transfer/KnownCopy.h"
#include "transfer/VersionRecord.h"

using gw::platform::FileStamp;
using gw::platform::StandingFile;
using gw::transfer::Verdict;
using namespace std::chrono_literals;

namespace {

const std::string kAddress = "http://site.example/dist/a.zip";
const std::string kDate = "Sun, 06 Nov 1994 08:49:37 GMT";
const FileStamp kLeft{1000, std::chrono::nanoseconds(784111777'000000001)};

// A file as the first run left it, tagged for `address` with these validators, then changed
// to `now` (size and date) by whoever touched it since.
StandingFile Tagged(const std::string& address, const std::string& etag, const std::string& date,
                    FileStamp now = kLeft) {
    StandingFile file{now, {}};
    for (auto& tag : gw::transfer::DownloadTags(address, "", etag, date, kLeft))
        file.tags[tag.name] = tag.value;
    return file;
}

}  // namespace

TEST(KnownCopy, WhatStandsAtTheNameAndTheAnswerDecideTheRequestAndTheOutcome) {
    struct Row {
        const char* what;
        std::optional<StandingFile> standing;
        long status;
        const char* ifNoneMatch;
        const char* ifModifiedSince;
        Verdict verdict;
    };
    StandingFile damaged = Tagged(kAddress, "\"v1\"", kDate);
    damaged.tags[gw::transfer::kVersionTag] += "Size: 1000\n";
    const Row rows[] = {
        {"nothing", std::nullopt, 200, "", "", Verdict::Download},
        {"nothing, 304", std::nullopt, 304, "", "", Verdict::Refused},
        {"untagged file", StandingFile{kLeft, {}}, 200, "", "", Verdict::Download},
        {"as left", Tagged(kAddress, "\"v1\"", kDate), 304, "\"v1\"", kDate.c_str(),
         Verdict::Unchanged},
        {"as left, changed on the server", Tagged(kAddress, "\"v1\"", kDate), 200, "\"v1\"",
         kDate.c_str(), Verdict::Download},
        {"as left, gone from the server", Tagged(kAddress, "\"v1\"", kDate), 404, "\"v1\"",
         kDate.c_str(), Verdict::Download},
        {"ETag only", Tagged(kAddress, "W/\"w\"", ""), 304, "W/\"w\"", "", Verdict::Unchanged},
        {"date only", Tagged(kAddress, "", kDate), 304, "", kDate.c_str(), Verdict::Unchanged},
        {"no validators", Tagged(kAddress, "", ""), 304, "", "", Verdict::Refused},
        {"from another address", Tagged("http://site.example/old/a.zip", "\"v1\"", kDate), 200, "",
         "", Verdict::Download},
        {"address with a password", Tagged("http://u:pw@site.example/dist/a.zip", "\"v1\"", kDate),
         304, "\"v1\"", kDate.c_str(), Verdict::Unchanged},
        {"edited", Tagged(kAddress, "\"v1\"", kDate, {999, kLeft.modified}), 200, "", "",
         Verdict::Download},
        {"touched", Tagged(kAddress, "\"v1\"", kDate, {1000, kLeft.modified + 1ns}), 200, "", "",
         Verdict::Download},
        {"record damaged", damaged, 200, "", "", Verdict::Download},
    };
    for (const Row& row : rows) {
        const auto sent = gw::transfer::ConditionFor(row.standing, kAddress);
        EXPECT_EQ(sent.ifNoneMatch, row.ifNoneMatch) << row.what;
        EXPECT_EQ(sent.ifModifiedSince, row.ifModifiedSince) << row.what;
        EXPECT_EQ(gw::transfer::Judge(sent, row.status), row.verdict) << row.what;
    }
}

TEST(VersionRecord, ReadsBackWhatWasWrittenAndNothingElse) {
    const gw::transfer::VersionRecord record{"\"5f3a\"", kDate, kLeft};
    const std::string text = gw::transfer::FormatVersionRecord(record);
    EXPECT_EQ(text, "ETag: \"5f3a\"\nLast-Modified: " + kDate +
                        "\nSize: 1000\nModified: 784111777.000000001\n");
    EXPECT_EQ(gw::transfer::ParseVersionRecord(text), record);
    const std::string size = "Size: 1\n";
    const std::string date = "Modified: 1.000000000\n";
    for (const std::string& bad :
         {std::string(), size, date, size + "Modified: 1.5\n", size + "Modified: -1.000000000\n",
          size + "Modified: 99999999999999.000000000\n", "Size: +1\n" + date, "Size: 1 \n" + date,
          "Size: 99999999999999999999\n" + date, size + date + size,
          size + date + "ETag: \"a\"\r\nX: y\n", size + date + "ETag: \n",
          size + date + "Colour: red\n", size + date.substr(0, date.size() - 1),
          size + date + "ETag:\"a\"\n"})
        EXPECT_EQ(gw::transfer::ParseVersionRecord(bad), std::nullopt) << bad;
}
