// Which file a list's line names: one table of list address, line and file address.
#include <gtest/gtest.h>

#include "transfer/ChecksumBook.h"
#include "transfer/FileName.h"

namespace {

TEST(ChecksumBook, ALineNamesTheFileInTheListsOwnFolderAsListsWriteNames) {
    const std::string hex(64, 'a');
    struct Case {
        const char* list;
        const char* line;  // the name the list gives
        const char* file;
        bool named;
    } const cases[] = {
        {"http://h/a/SHA256SUMS", "x.zip", "http://h/a/x.zip", true},
        {"http://h/b/SHA256SUMS", "x.zip", "http://h/a/x.zip", false},
        {"http://h/SHA256SUMS", "a/x.zip", "http://h/a/x.zip", true},
        {"http://h/SHA256SUMS", "x.zip", "http://h/a/x.zip", false},
        {"http://other/a/SHA256SUMS", "x.zip", "http://h/a/x.zip", false},
        {"http://h/a/SHA256SUMS?raw=1", "x.zip", "http://h/a/x.zip", true},
        {"http://h/a%20b/SHA256SUMS", "c d.bin", "http://h/a b/c%20d.bin", true},
        {"http://h/a/SHA256SUMS", "a b.bin", "http://h/a/a%20b.bin", true},
        {"http://h/a/SHA256SUMS", "a%20b.bin", "http://h/a/a%20b.bin", true},
        {"http://h/a/SHA256SUMS", "a.bin", "http://h/a/a.bin?dl=1", true},
        {"http://h/a/SHA256SUMS", "a.bin?dl=1", "http://h/a/a.bin?dl=1", true},
        {"http://h/a/SHA256SUMS", "a.bin", "http://u:pw@h/a/a.bin#top", true},
        {"http://h/a/SHA256SUMS", "A.BIN", "http://h/a/a.bin", false},
    };
    for (const Case& c : cases) {
        gw::transfer::ChecksumBook book;
        book.add(c.list, {{c.line, gw::platform::HashAlgorithm::Sha256, hex}});
        const auto expected = book.expected(c.file);
        EXPECT_EQ(expected.has_value(), c.named) << c.list << " " << c.line << " " << c.file;
        if (expected) {
            EXPECT_EQ(expected->listName, gw::transfer::FileNameFromAddress(c.list));
        }
    }
    // Two lists that name one file by different names of it and give it different hashes
    // disagree; a stronger algorithm wins over a weaker one that agrees with nothing.
    gw::transfer::ChecksumBook book;
    book.add("http://h/a/SHA256SUMS", {{"a b.bin", gw::platform::HashAlgorithm::Sha256, hex}});
    book.add("http://h/SHA256SUMS",
             {{"a/a b.bin", gw::platform::HashAlgorithm::Sha256, std::string(64, 'b')}});
    book.add("http://h/a/MD5SUMS", {{"c.bin", gw::platform::HashAlgorithm::Md5, "x"},
                                    {"c.bin", gw::platform::HashAlgorithm::Md5, "x"}});
    book.add("http://h/a/SHA512SUMS", {{"c.bin", gw::platform::HashAlgorithm::Sha512, "y"}});
    EXPECT_TRUE(book.disagree("http://h/a/a%20b.bin"));
    EXPECT_EQ(book.expected("http://h/a/a%20b.bin"), std::nullopt);
    EXPECT_EQ(book.expected("http://h/a/c.bin")->hex, "y");
}

}  // namespace
