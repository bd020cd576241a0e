#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "CutPatterns.h"
#include "LiteralHarvest.h"
#include "harvest/Harvest.h"
#include "harvest/TextWindow.h"

namespace gw::harvest {
namespace {

using Strings = std::vector<std::string>;

Strings scan(const std::string& page, const char* fileSpec = "*",
             const char* fetchedAddress = "http://h/") {
    return ScanAnchors(page, fetchedAddress, BuildMatchPattern(fileSpec)).addresses;
}

TEST(ScanAnchors, FindsTheSpansOfTheAnchorsOfAPage) {
    const std::pair<std::string, Strings> cases[] = {
        {"", {}},
        {"x", {}},
        {"no tags = here > at \"all\"", {}},
        {"<a href=x.zip>", {"http://h/x.zip"}},
        {"<A HREF=\"a.zip\" TARGET=\"_top\">", {"http://h/a.zip"}},
        // Recognised through the quoted HREF forms once a "<" has been seen.
        {"<img src=\"a.gif\" href=\"b.zip\">", {"http://h/b.zip"}},
        {"<p>text href =\"c.zip\">", {"http://h/c.zip"}},
        {"<p>text HREF= \"c.zip\">", {"http://h/ c.zip"}},
        {"href=\"d.zip\">", {}},
        // An unquoted HREF that is not the first attribute.
        {"<A NAME=top HREF=b.zip>", {}},
        {"<a href=>", {"http://h/"}},
        // The rest of a taken anchor is not examined again.
        {"<a href=\"a.zip\" title='href=\"b.zip\"'>", {"http://h/a.zip"}},
        // Leaving an anchor leaves the tag: a HREF form counts again after the next "<".
        {"<a href=\"a.zip\">href=\"b.zip\">", {"http://h/a.zip"}},
        {"<a href=\"a.zip\"><b>href=\"c.zip\">", {"http://h/a.zip", "http://h/c.zip"}},
        // Rules B and C, when no "=" has a ">" after it.
        {"<A HREF \"b.zip\" rest", {"http://h/b.zip"}},
        {"<A HREF \"c.zip>", {"http://h/c.zip"}},
        {"<A HREF \"c.zip", {}},
        {"<A HREF=\"a.zip\"", {"http://h/a.zip"}},
        // An anchor never closed: the walk ends, and what came before stays found.
        {"<a href=\"a.zip\">x</a><A HREF" + std::string(1000, 'y'), {"http://h/a.zip"}},
        // A tag longer than the stretch looked at in one pass after an anchor's start.
        {std::string("<a href=").append(5000, 'x').append(">"),
         {std::string("http://h/").append(5000, 'x')}},
        // An address attribute whose H ends one 64 KiB stretch of a tag and whose "=" begins
        // the next.
        {std::string("<p ").append(65530, 'x').append(" HREF=\"a.zip\">"), {"http://h/a.zip"}},
        // Equal addresses are held once.
        {"<a href=a.zip><a href=a.zip><a href=b.zip>", {"http://h/a.zip", "http://h/b.zip"}},
    };
    for (const auto& [page, entries] : cases)
        EXPECT_EQ(scan(page), entries) << page;
}

// Pages made of the pieces the walk reacts to, so that every rule meets every other, and line
// ends for the line rule.
std::string randomPage(std::mt19937& random) {
    static const char* const pieces[] = {
        "<A HREF",
        "<a href=",
        "<a\thref=",
        " HREF=\"",
        "href =\"",
        "HrEf= \"",
        "<",
        ">",
        "\"",
        "=",
        " ",
        "a.zip",
        "B.ZIP",
        "/pub/",
        "//mirror/",
        "http://x/",
        "HTTPS://Y/",
        "ftp://z/",
        "mailto:",
        "site.com",
        "http://w.com",
        "target=_blank",
        "title=\"",
        "x",
        "setup.exe",
        "#",
        "?q=1",
        "\r\n",
        "\r",
        "SHA256SUMS",
        "a.zip.sha256",
        "<img src=\"i.gif\" ",
        "</a>",
        "\xe9",
    };
    std::string page;
    const std::size_t count = random() % 40;
    for (std::size_t k = 0; k < count; ++k)
        page += pieces[random() % std::size(pieces)];
    return page;
}

TEST(ScanAnchors, AgreesWithTheStepByStepWalkOnRandomPages) {
    const char* const fileSpecs[] = {"*", "*.zip", "*.com", "setup?.exe", "[a-z]*"};
    const char* const addresses[] = {"http://h/d/index.htm", "https://h:81/d/x.php?y=/z",
                                     "h/files/", "ftp://h", "h"};
    std::mt19937 random(11);
    const int trials = GW_SANITIZED ? 4000 : 20000;
    for (int trial = 0; trial < trials; ++trial) {
        const std::string page = randomPage(random);
        const std::string pattern = BuildMatchPattern(fileSpecs[trial % 5]);
        const std::string address = addresses[random() % 5];

        const Strings appended = literal::Walk(page, address, pattern);
        FoundLinks found = ScanAnchors(page, address, pattern);
        ASSERT_EQ(found.addresses, literal::FirstOfEach(appended)) << page;
        EXPECT_EQ(found.dropped, 0u);

        Strings expected = appended;
        literal::RemoveDuplicates(expected);
        RemoveDuplicates(found.addresses);
        ASSERT_EQ(found.addresses, expected) << page;

        if (trial % 8 != 0)
            continue;
        const Harvest whole = cuts::HarvestWhole(page, address, pattern);
        for (const cuts::Cutting& cutting : cuts::CuttingsOf(page, random())) {
            ASSERT_TRUE(cuts::SameHarvest(
                cuts::HarvestInPieces(page, cutting.cuts, address, pattern), whole))
                << cutting.name << ": " << page;
        }
    }
}

// The scan looks at the page 16 bytes at a time and at the two bytes after each "<": every
// piece the walk reacts to, at every offset around a block's edge and at the page's end.
TEST(ScanAnchors, AgreesWithTheStepByStepWalkWhereverAPieceFalls) {
    const char* const pieces[] = {"<a href=\"a.zip\">",
                                  "<A HREF=b.zip>",
                                  "<p>x HREF=\"c.zip\">",
                                  "<i>HREF= \"d.zip\">",
                                  "<b>href =\"e.zip\">",
                                  "<a ",
                                  "<a",
                                  "<",
                                  "=\"f.zip\">",
                                  "<a href=\"g.zip"};
    for (const char* piece : pieces) {
        for (std::size_t before = 0; before <= 40; ++before) {
            for (const std::size_t after : {0, 1, 2, 17}) {
                std::string page = "<q";
                page.append(before, 'x').append(piece).append(after, 'y').append("\">");
                for (const std::string& text : {page, page.substr(2), std::string(piece)}) {
                    const Strings appended = literal::Walk(text, "http://h/", "*");
                    ASSERT_EQ(ScanAnchors(text, "http://h/", "*").addresses,
                              literal::FirstOfEach(appended))
                        << text;
                }
            }
        }
    }
}

// Real pages saved from public sites, when this checkout has them beside it: markup nobody
// here wrote must give what the step-by-step rules give, and the same in pieces as whole.
TEST(ScanAnchors, AgreesWithTheStepByStepWalkOnSavedPages) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::directory_iterator pages(GW_SAVED_PAGES, ec);
    if (ec)
        GTEST_SKIP() << "no saved pages at " << GW_SAVED_PAGES;
    int compared = 0;
    for (const fs::directory_entry& file : pages) {
        if (file.path().extension() != ".html")
            continue;
        std::ifstream in(file.path(), std::ios::binary);
        const std::string page{std::istreambuf_iterator<char>(in), {}};
        const std::string address = "http://127.0.0.1/saved/" + file.path().filename().string();
        for (const char* fileSpec : {"*", "*.pdf", "*.htm*", "*[0-9]#*"}) {
            const std::string pattern = BuildMatchPattern(fileSpec);
            const Strings appended = literal::Walk(page, address, pattern);
            FoundLinks found = ScanAnchors(page, address, pattern);
            ASSERT_EQ(found.addresses, literal::FirstOfEach(appended))
                << file.path() << " " << fileSpec;
            Strings expected = appended;
            literal::RemoveDuplicates(expected);
            RemoveDuplicates(found.addresses);
            ASSERT_EQ(found.addresses, expected) << file.path() << " " << fileSpec;
        }
        // The bytes as they were saved, line ends and all, fed in pieces; anchors only, then
        // with the media reading (a byte at a time only on the made pages of its own test,
        // which a sanitizer's build runs in time).
        for (const bool media : {false, true}) {
            HarvestOptions options = cuts::WithMedia(BuildMatchPattern("*"));
            options.media = media;
            const Harvest whole = cuts::HarvestWhole(page, address, options);
            for (const cuts::Cutting& cutting : cuts::CuttingsOf(page, compared)) {
                if ((media || GW_SANITIZED) && cutting.name == "every byte")
                    continue;
                ASSERT_TRUE(cuts::SameHarvest(
                    cuts::HarvestInPieces(page, cutting.cuts, address, options), whole))
                    << file.path() << " " << cutting.name << (media ? " with media" : "");
            }
        }
        ++compared;
    }
    EXPECT_GT(compared, 0);
}

TEST(ScanAnchors, KeepsTheFirstAddressesWhenTheListIsFullAndCountsTheRest) {
    const int distinct = static_cast<int>(kFoundCapacity) + 5000;
    std::string page;
    for (int i = 0; i < distinct; ++i)
        page += "<a href=\"f" + std::to_string(i) + ".zip\">x</a>";
    // Repeats, held or left out, change nothing.
    page += "<a href=\"f0.zip\"><a href=\"f" + std::to_string(distinct - 1) + ".zip\">";

    FoundLinks found = ScanAnchors(page, "http://h/", "*.ZIP*");
    ASSERT_EQ(found.addresses.size(), kFoundCapacity);
    EXPECT_EQ(found.dropped, 5000u);
    EXPECT_EQ(found.addresses.front(), "http://h/f0.zip");
    EXPECT_EQ(found.addresses.back(), "http://h/f" + std::to_string(kFoundCapacity - 1) + ".zip");
    RemoveDuplicates(found.addresses);
    EXPECT_EQ(found.addresses.size(), kFoundCapacity);
}

TEST(ScanAnchors, EndsPromptlyOnPagesThatWouldMakeAStepByStepWalkQuadratic) {
    const std::string unclosed =
        "<a href=\"a.zip\">" + std::string("<A HREF") + std::string(8 << 20, 'y');
    EXPECT_EQ(scan(unclosed, "*.zip"), Strings{"http://h/a.zip"});

    // Many anchors before one far "=": every one of them has the same span, as long as a span
    // may be. One byte longer, a span gives no entry, by any rule, and the walk goes on.
    std::string farEquals;
    for (int i = 0; i < 100000; ++i)
        farEquals += "<A HREF>";
    farEquals.append("=").append(kMaxSpanLength - 4, 'z').append(".zip>");
    EXPECT_EQ(scan(farEquals, "*.zip").size(), 1u);
    const std::string tooLong = std::string(kMaxSpanLength - 3, 'z') + ".zip";
    const std::string tooLongA = "<A HREF=" + tooLong + "><a href=\"b.zip\">";
    const std::string tooLongB = "<A HREF \"" + tooLong + "\"><A HREF \"c.zip\">";
    EXPECT_EQ(scan(tooLongA, "*.zip"), Strings{"http://h/b.zip"});
    EXPECT_EQ(scan(tooLongB, "*.zip"), Strings{"http://h/c.zip"});

    // In pieces too, and with anchors that no "=" ever decides: each waits with its own span.
    std::string noEquals;
    for (int i = 0; i < 100000; ++i)
        noEquals += "<A HREF \"f" + std::to_string(i) + ".zip\">x</a>\n";
    for (const std::string& page : {unclosed, farEquals, noEquals, tooLongA, tooLongB}) {
        std::vector<std::size_t> pieces;
        for (std::size_t at = 16384; at < page.size(); at += 16384)
            pieces.push_back(at);
        EXPECT_TRUE(cuts::SameHarvest(cuts::HarvestInPieces(page, pieces, "http://h/", "*.ZIP*"),
                                      cuts::HarvestWhole(page, "http://h/", "*.ZIP*")));
    }
}

TEST(ScanAnchors, ReportsTheRisingPositionAndTheEnd) {
    std::string page;
    while (page.size() < 1'000'000)
        page += "<p>filler text <a href=\"a.zip\">a</a></p>\n";
    std::vector<std::size_t> positions;
    ScanAnchors(page, "http://h/", "*", [&](std::size_t position, std::size_t length) {
        EXPECT_EQ(length, page.size());
        positions.push_back(position);
    });
    ASSERT_GE(positions.size(), 10u);
    EXPECT_LE(positions.size(), page.size() / 65536 + 2);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_EQ(positions.back(), page.size());
}

}  // namespace
}  // namespace gw::harvest
