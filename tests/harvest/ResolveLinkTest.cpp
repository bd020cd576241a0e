#include <gtest/gtest.h>

#include <optional>

#include "LiteralHarvest.h"
#include "harvest/Harvest.h"

namespace gw::harvest {
namespace {

struct Case {
    const char* span;
    const char* fileSpec;
    const char* fetchedAddress;
    std::optional<std::string> entry;
};

// Each span as the scanner cuts it, the address the page came from, and what is found.
const Case kCases[] = {
    // A relative address on a page named by its file: joined to the page's folder.
    {"\"files/a.zip\"", "*.zip", "http://host/d/index.htm", "http://host/d/files/a.zip"},
    // Root-relative: joined to the site's root, not to the page's folder.
    {"\"/pub/a.zip\"", "*.zip", "http://host/d/index.htm", "http://host/pub/a.zip"},
    {"\"//mirror/a.zip\"", "*.zip", "https://host/d/", "https://mirror/a.zip"},
    {"/pub/a.zip", "*.zip", "https://host:8443/d/x.htm", "https://host:8443/pub/a.zip"},
    {"/x.zip", "*.zip", "ftp://host/pub/", "ftp://host/x.zip"},
    // Typed without a scheme: "http://" in front.
    {"a.zip", "*.zip", "host/files/", "http://host/files/a.zip"},
    {"a.zip", "*.zip", "host", "http://host/a.zip"},
    {"/a.zip", "*.zip", "host", "http://host/a.zip"},
    // Pages that are not .htm files, queries, fragments, addresses without a path.
    {"a.zip", "*.zip", "http://host/files/list.php", "http://host/files/a.zip"},
    {"a.zip", "*.zip", "https://host/files/list.php?dir=x/y", "https://host/files/a.zip"},
    {"a.zip", "*.zip", "http://host/d/#part/2", "http://host/d/a.zip"},
    {"a.zip", "*.zip", "http://host", "http://host/a.zip"},
    {"a.zip", "*.zip", "http://host/files", "http://host/a.zip"},
    {"a.zip", "*.zip", "http://host/files/", "http://host/files/a.zip"},
    {"a.zip", "*.zip", "HTTPS://Host/D/", "HTTPS://Host/D/a.zip"},
    // Absolute addresses are kept as written, letter case included.
    {"\"HTTP://Host/x.zip\"", "*.zip", "http://host/d/", "HTTP://Host/x.zip"},
    {"\"https://cdn.example/a.zip\"", "*.zip", "http://host/d/", "https://cdn.example/a.zip"},
    {"ftp://files.example/a.zip", "*.zip", "http://host/d/", "ftp://files.example/a.zip"},
    // The absolute test looks at the whole span: a later attribute decides.
    {"\"a.zip\" title=\"see http://x/\"", "*.zip", "http://host/d/", "a.zip"},
    // Mail links never count, even for "*".
    {"\"mailto:me@host.com\"", "*", "http://host/d/", std::nullopt},
    {"MailTo:a.zip", "*.zip", "http://host/d/", std::nullopt},
    // "*": folders and empty spans give the page's folder.
    {"\"sub/\"", "*", "http://host/d/", "http://host/d/sub/"},
    {"", "*", "http://host/d/", "http://host/d/"},
    {"", "*.zip", "http://host/d/", std::nullopt},
    // Only the name after the last "/" is matched.
    {"\"x/setup.exe\"", "setup.exe", "http://host/", "http://host/x/setup.exe"},
    {"\"setup.exe.d/readme\"", "setup.exe", "http://host/", std::nullopt},
    {"\"Files/A.Zip\"", "*.zip", "http://host/d/", "http://host/d/Files/A.Zip"},
    {"\"a.zip?x=1\"", "*.zip", "http://host/d/", "http://host/d/a.zip?x=1"},
    // Cuts at the first blank or double quote after the first character.
    {"\"a.zip\" target=\"_top\"", "*.zip", "http://host/d/", "http://host/d/a.zip"},
    {"\"a.zip\"x", "*.zip", "http://host/d/", "http://host/d/a.zipx"},
    {" \"a.zip\"", "*.zip", "http://host/d/", "http://host/d/ a.zip"},
    {" \"a.zip\" target=x", "*.zip", "http://host/d/", std::nullopt},
    {" \"a.zip\" target=x", "*", "http://host/d/", "http://host/d/ "},
    {"x.zip target=_blank", "*.zip", "http://host/d/", "http://host/d/x.zip target=_blank"},
    {"a b\"c.zip", "*.zip", "http://host/d/", std::nullopt},
    {"a\"b c.zip", "*.zip", "http://host/d/", std::nullopt},
    {"a\"b c.zip", "*", "http://host/d/", "http://host/d/a"},
};

TEST(ResolveLink, GivesTheFullAddressOfEachWantedLink) {
    for (const Case& c : kCases) {
        std::string entry = "untouched";
        const bool found = ResolveLink(c.span, literal::Upper(c.span),
                                       BuildMatchPattern(c.fileSpec), c.fetchedAddress, entry);
        EXPECT_EQ(found, c.entry.has_value()) << c.span << " on " << c.fetchedAddress;
        if (found && c.entry) {
            EXPECT_EQ(entry, *c.entry) << c.span << " on " << c.fetchedAddress;
        }
    }
}

}  // namespace
}  // namespace gw::harvest
