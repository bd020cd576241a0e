// Which links of a page a run takes for checksum lists, whatever the user's pattern.
#include <gtest/gtest.h>

#include "harvest/ChecksumLinks.h"
#include "harvest/Harvest.h"

namespace gw::harvest {
namespace {

using Strings = std::vector<std::string>;

TEST(HarvestPage, GathersThePagesChecksumListsInPageOrder) {
    Strings many;
    Strings all;
    for (std::size_t i = 0; i < 40; ++i) {
        many.push_back(std::to_string(i) + "/SHA256SUMS");
        all.push_back("d/" + many.back());
    }
    struct Case {
        Strings hrefs;
        const char* fileSpec;
        Strings lists;
    } const cases[] = {
        {{"a.iso", "SHA256SUMS", "x/sha512sums.txt", "/MD5SUMS", "SHA1SUMS", "CheckSums"},
         "*.iso",
         {"d/SHA256SUMS", "d/x/sha512sums.txt", "MD5SUMS", "d/SHA1SUMS", "d/CheckSums"}},
        // Signatures and look-alikes are no lists.
        {{"a.iso", "SHA256SUMS.gpg", "SHA256SUMS.sign", "SHA256SUMS.sig", "SHA256SUMSX",
          "MY-SHA256SUMS", "SHA256SUMS.tar.gz", "summary.html", "mailto:SHA256SUMS"},
         "*.iso",
         {}},
        // Sidecars count for the found files only, named byte for byte.
        {{"a.iso.sha256", "a.iso", "b.iso.md5", "A.ISO.sha1", "a.iso.SHA512", "a.iso.md5sum",
          "x/a.iso.sha1sum", ".sha256"},
         "*.iso",
         {"d/a.iso.sha256", "d/a.iso.SHA512", "d/a.iso.md5sum", "d/x/a.iso.sha1sum"}},
        // Found by the pattern or not, each once, every one: the run judges which it reads.
        {{"SHA256SUMS", "SHA256SUMS"}, "*SUMS", {"d/SHA256SUMS"}},
        {{"SHA256SUMS"}, "*.zip", {"d/SHA256SUMS"}},
        {many, "*", all},
    };
    for (const Case& c : cases) {
        std::string page;
        for (const std::string& href : c.hrefs)
            page += "<a href=\"" + href + "\">x</a>\n";
        Strings lists;
        for (const std::string& list : c.lists)
            lists.push_back("http://h/" + list);
        EXPECT_EQ(HarvestPage(page, "http://h/d/page", BuildMatchPattern(c.fileSpec)).checksumLists,
                  lists)
            << c.hrefs.front();
    }
}

}  // namespace
}  // namespace gw::harvest
