// Which links of a page a run takes for checksum lists, whatever the user's pattern.
#include <gtest/gtest.h>

#include "harvest/ChecksumLinks.h"
#include "harvest/Harvest.h"

namespace gw::harvest {
namespace {

using Strings = std::vector<std::string>;

std::string Links(const Strings& hrefs) {
    std::string page;
    for (const std::string& href : hrefs)
        page += "<a href=\"" + href + "\">x</a>\n";
    return page;
}

TEST(HarvestPage, GathersThePagesChecksumListsInPageOrder) {
    struct Case {
        Strings hrefs;
        const char* fileSpec;
        Strings lists;
    };
    const Case cases[] = {
        {{"a.iso", "SHA256SUMS", "dist/sha512sums.txt", "/MD5SUMS", "SHA1SUMS", "CheckSums"},
         "*.iso",
         {"http://h/d/SHA256SUMS", "http://h/d/dist/sha512sums.txt", "http://h/MD5SUMS",
          "http://h/d/SHA1SUMS", "http://h/d/CheckSums"}},
        // Signatures and look-alikes are no lists.
        {{"a.iso", "SHA256SUMS.gpg", "SHA256SUMS.sign", "SHA256SUMS.sig", "SHA256SUMSX",
          "MY-SHA256SUMS", "SHA256SUMS.tar.gz", "summary.html"},
         "*.iso",
         {}},
        // Sidecars count for the found files only, named byte for byte.
        {{"a.iso.sha256", "a.iso", "b.iso.md5", "A.ISO.sha1", "a.iso.SHA512", "a.iso.md5sum",
          "x/a.iso.sha1sum", ".sha256"},
         "*.iso",
         {"http://h/d/a.iso.sha256", "http://h/d/a.iso.SHA512", "http://h/d/a.iso.md5sum",
          "http://h/d/x/a.iso.sha1sum"}},
        // Found or not by the pattern, each once.
        {{"SHA256SUMS", "SHA256SUMS", "mailto:SHA256SUMS"}, "*SUMS", {"http://h/d/SHA256SUMS"}},
        {{"SHA256SUMS"}, "*.zip", {"http://h/d/SHA256SUMS"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HarvestPage(Links(c.hrefs), "http://h/d/page", BuildMatchPattern(c.fileSpec))
                      .checksumLists,
                  c.lists)
            << c.hrefs.front();
    }
    Strings many;
    for (std::size_t i = 0; i <= kMaxChecksumLists; ++i)
        many.push_back("http://h/" + std::to_string(i) + "/SHA256SUMS");
    const Strings used = HarvestPage(Links(many), "http://h/", "*").checksumLists;
    EXPECT_EQ(used, Strings(many.begin(), many.end() - 1));
}

}  // namespace
}  // namespace gw::harvest
