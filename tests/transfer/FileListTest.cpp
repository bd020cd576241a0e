// The found list handed on: one table of files against what each format writes for them.
#include <gtest/gtest.h>

#include "transfer/FileList.h"

namespace {

using gw::platform::HashAlgorithm;
using gw::transfer::FileListFormat;
using gw::transfer::ListedFile;

TEST(WriteFileList, EachFormatCarriesNamesReferrersAndHashesAndNothingThatBreaksIt) {
    const std::string h32(32, 'a'), h40(40, 'b'), h64(64, 'c'), h128(128, 'd');
    const std::vector<ListedFile> files = {
        {"http://h/a%20b.zip", "a b.zip", "http://h/", {{HashAlgorithm::Sha256, h64, "S"}}},
        {"http://h/r&d.zip?x=<1>", "r&d \"<old>\".zip", "", {{HashAlgorithm::Md5, h32, "M"}}},
        {"http://h/\xc3\xa9\x9b.iso",
         "\xc3\xa9t\xc3\xa9\x9b.iso",
         "",
         {{HashAlgorithm::Sha1, h40, "S"}}},
        {"http://h/x\n  out=evil", "x\n  checksum=md5=0", "", {{HashAlgorithm::Sha512, h128, "S"}}},
        {"http://h/..", "..", "", std::nullopt},
        {"http://h/", "", "", std::nullopt},
        {"http://h/n.bin", "n.bin", "", std::nullopt},
    };
    const auto published = std::chrono::system_clock::from_time_t(1765447200);
    struct Case {
        FileListFormat format;
        std::string text;
    } const cases[] = {
        {FileListFormat::Plain,
         "http://h/a%20b.zip\nhttp://h/r&d.zip?x=<1>\nhttp://h/\xc3\xa9%9B.iso\n"
         "http://h/x%0A  out=evil\nhttp://h/n.bin\n"},
        {FileListFormat::Aria2,
         "http://h/a%20b.zip\n  out=a b.zip\n  referer=http://h/\n  checksum=sha-256=" + h64 +
             "\nhttp://h/r&d.zip?x=<1>\n  out=r&d \"<old>\".zip\n  checksum=md5=" + h32 +
             "\nhttp://h/\xc3\xa9%9B.iso\n  out=\xc3\xa9t\xc3\xa9%9B.iso\n  checksum=sha-1=" + h40 +
             "\nhttp://h/x%0A  out=evil\n  out=x%0A  checksum=md5=0\n  checksum=sha-512=" + h128 +
             "\nhttp://h/n.bin\n  out=n.bin\n"},
        {FileListFormat::Metalink,
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<metalink xmlns=\"urn:ietf:params:xml:ns:metalink\">\n"
         "  <generator>GrabWright/1 &amp; co</generator>\n"
         "  <published>2025-12-11T10:00:00Z</published>\n"
         "  <file name=\"a b.zip\">\n    <hash type=\"sha-256\">" +
             h64 +
             "</hash>\n    <url>http://h/a%20b.zip</url>\n  </file>\n"
             "  <file name=\"r&amp;d &quot;&lt;old&gt;&quot;.zip\">\n    <hash type=\"md5\">" +
             h32 +
             "</hash>\n    <url>http://h/r&amp;d.zip?x=&lt;1&gt;</url>\n  </file>\n"
             "  <file name=\"\xc3\xa9t\xc3\xa9%9B.iso\">\n    <hash type=\"sha-1\">" +
             h40 +
             "</hash>\n    <url>http://h/\xc3\xa9%9B.iso</url>\n  </file>\n"
             "  <file name=\"x%0A  checksum=md5=0\">\n    <hash type=\"sha-512\">" +
             h128 +
             "</hash>\n    <url>http://h/x%0A  out=evil</url>\n  </file>\n"
             "  <file name=\"n.bin\">\n    <url>http://h/n.bin</url>\n  </file>\n"
             "</metalink>\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> leftOut;
        EXPECT_EQ(gw::transfer::WriteFileList(
                      c.format, files, "GrabWright/1 & co", published,
                      [&](const std::string& address) { leftOut.push_back(address); }),
                  c.text);
        EXPECT_EQ(leftOut, (std::vector<std::string>{"http://h/..", "http://h/"}));
    }
}

}  // namespace
