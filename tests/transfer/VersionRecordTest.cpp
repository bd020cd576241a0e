// The version record on a file, which anyone who can write the file can write as well.
#include <gtest/gtest.h>

#include "transfer/VersionRecord.h"

TEST(VersionRecord, ReadsBackWhatWasWrittenAndNothingElse) {
    const gw::transfer::VersionRecord record{
        "\"5f3a\"", "Sun, 06 Nov 1994 08:49:37 GMT", {1000, 784111777, 1}, std::nullopt};
    const std::string text = gw::transfer::FormatVersionRecord(record);
    EXPECT_EQ(text,
              "ETag: \"5f3a\"\nLast-Modified: Sun, 06 Nov 1994 08:49:37 GMT\nSize: 1000\n"
              "Modified: 784111777.000000001\n");
    EXPECT_EQ(gw::transfer::ParseVersionRecord(text), record);
    gw::transfer::VersionRecord checked = record;
    checked.hash = {gw::platform::HashAlgorithm::Md5, std::string(32, 'a')};
    EXPECT_EQ(gw::transfer::ParseVersionRecord(gw::transfer::FormatVersionRecord(checked)),
              checked);
    const std::string size = "Size: 1\n";
    const std::string date = "Modified: 1.000000000\n";
    for (const std::string& bad :
         {std::string(), size, date, size + "Modified: 1.5\n", size + "Modified: -1.000000000\n",
          size + "Modified: 99999999999999999999.000000000\n", "Size: +1\n" + date,
          "Size: 1 \n" + date, "Size: 99999999999999999999\n" + date, size + date + size,
          size + date + "ETag: \"a\"\r\nX: y\n", size + date + "ETag: \n",
          size + date + "Colour: red\n", size + date.substr(0, date.size() - 1),
          size + date + "ETag:\"a\"\n",
          size + date + "Checksum: MD5 " + std::string(32, 'A') + "\n",
          size + date + "Checksum: SHA-256 " + std::string(32, 'a') + "\n",
          size + date + "Checksum: MD4 " + std::string(32, 'a') + "\n"})
        EXPECT_EQ(gw::transfer::ParseVersionRecord(bad), std::nullopt) << bad;
}
