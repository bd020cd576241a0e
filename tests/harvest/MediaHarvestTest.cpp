#include <gtest/gtest.h>

#include "CutPatterns.h"
#include "harvest/Harvest.h"
#include "platform/SideThread.h"

namespace gw::harvest {
namespace {

using Strings = std::vector<std::string>;

struct MediaCase {
    const char* rule;
    std::string page;
    Strings found;  // after "http://h/d/" unless they name a scheme
    const char* fileSpec = "*";
};

Strings Resolved(const Strings& found) {
    Strings full;
    for (const std::string& entry : found)
        full.push_back(entry.find("://") != std::string::npos ? entry : "http://h/d/" + entry);
    return full;
}

const MediaCase kCases[] = {
    {"quoting forms and letter case",
     "<img src=\"a.png\"><img src='b.png'><img src=c.png><IMG\tSRC = \"d.png\" >",
     {"a.png", "b.png", "c.png", "d.png"}},
    {"largest density, a bare address counting 1x",
     "<img src=\"s.png\" srcset=\"s-1.png, s-3.png 3x, s-2.png 2x\">",
     {"s-3.png"}},
    {"a width beats any density; a tie goes to the first",
     "<img srcset=\"x.png 4x, w1.png 100w, w2.png 100w\"><img srcset=\"t1.png 2x,t2.png 2x\">",
     {"w1.png", "t1.png"}},
    {"commas inside srcset addresses",
     "<img srcset=\"a,b.png 1x, c,d.png 2x\"><img srcset=\"e.png,f.png 2x\">",
     {"c,d.png", "e.png,f.png"}},
    {"descriptors in error drop their candidate",
     "<img srcset=\"bad.png 2q, hw.png 10h, ok.png 1.5x\">",
     {"ok.png"}},
    {"data-srcset before srcset before the lazy attributes",
     "<img data-srcset=\"ds.png 2x\" srcset=\"s.png 3x\" data-src=\"l.png\" src=\"p.gif\">",
     {"ds.png"}},
    {"a srcset without candidates counts as absent",
     "<img srcset=\" , \" src=\"f.png\">",
     {"f.png"}},
    {"placeholders are passed over",
     "<img src=\"  \" data-original=\"o.png\"><img src=\"data:image/gif;base64,R0l\" "
     "data-lazy-src=\"z.png\"><source data-src=\" \" src=\"s.webm\"><img src=\" \">",
     {"o.png", "z.png", "s.webm"}},
    {"video, audio, track, embed, object",
     "<video src=\"v.mp4\" poster=\"v.jpg\"></video><audio src=\"a.ogg\"><track src=\"t.vtt\">"
     "<embed src=\"e.swf\"><object data=\"o.pdf\" src=\"no.pdf\">",
     {"v.mp4", "v.jpg", "a.ogg", "t.vtt", "e.swf", "o.pdf"}},
    {"url() in style attributes",
     "<div style=\"background: URL( 'bg.png' ); border-image:url(b&amp;g.png) \">"
     "<p style='x:url(\"q).png\")'><i style=\"myurl(no.png)\">",
     {"bg.png", "b&g.png", "q).png"}},
    {"the first of a repeated attribute counts",
     "<img src=\"one.png\" SRC=\"two.png\"><img src=\"x.png\" srcset=\"\" srcset=\"y.png 2x\">",
     {"one.png", "x.png"}},
    {"comments, scripts and styles hold no markup; noscript does",
     "<!-- <img src=\"c.png\"> --><!--><img src=\"a1.png\"><script>s='<img src=\"s.png\">';"
     "</script ><style>.a{background:url(st.png)}</style><noscript><img src=\"ns.png\">"
     "</noscript><textarea><img src=\"t.png\"></textarea><!DOCTYPE x><img src=\"a2.png\">",
     {"a1.png", "ns.png", "a2.png"}},
    {"tag and attribute forms",
     "<img/src=\"s1.png\"><img src=u.png/><IMG\nSRC=n.png\n><img alt=\"a>b\" src='q.png'>",
     {"s1.png", "u.png/", "n.png", "q.png"}},
    {"where text-only elements end",
     "<script>a='</scripty><img src=\"x.png\">'</SCRIPT\n><img src=\"y.png\"><title><img "
     "src=t.png></title ><plaintext><img src=\"p.png\">",
     {"y.png"}},
    {"character references",
     "<img src=\"a&amp;b.png\"><img src=\"&#x41;&#66;.png\"><img src=\"&eacute;.png\">"
     "<img src=\"x&copy.png\"><img src=\"y&copy=1.png\"><img src=\"&notin;&#128;.png\">",
     {"a&b.png", "AB.png", "%C3%A9.png", "x%C2%A9.png", "y&copy=1.png", "%E2%88%89%E2%82%AC.png"}},
    {"the first base counts for addresses before it too",
     "<img src=\"a.png\"><base target=\"x\"><base href=\"../b/\"><base href=\"/c/\">"
     "<img src=\"c.png\">",
     {"http://h/b/a.png", "http://h/b/c.png"},
     "*.png"},
    {"an absolute base",
     "<base href=\"https://cdn.x/i/\"><img src=\"a.png\">",
     {"https://cdn.x/i/a.png"},
     "*.png"},
    {"relative forms",
     "<img src=\"//cdn.x/p.png\"><img src=\"/root.png\"><img src=\"../up.png\">"
     "<img src=\"./sub/s.png\"><img src=\"?q=1\"><img src=\"#top\">",
     {"http://cdn.x/p.png", "http://h/root.png", "http://h/up.png", "sub/s.png", "page.html?q=1",
      "page.html"}},
    {"only http, https and ftp",
     "<img src=\"javascript:x()\"><img src=\"mailto:a@b\"><img src=\"blob:http://h/1\">"
     "<img src=\"about:blank\"><img src=\"file:///etc/x.png\"><img src=\"HTTPS://X/Y.PNG#f\">"
     "<img src=\"ftp://f/g.png\">",
     {"https://X/Y.PNG", "ftp://f/g.png"}},
    {"blanks, tabs, line breaks and bytes beyond ASCII",
     "<img src=\" a b.png \"><img src=\"c\td\ne.png\"><img src=\"\xe9.png\">"
     "<img\r\nsrc=\"lr.png\"><img src=\"l\r\nr2.png\">",
     {"a%20b.png", "cde.png", "%E9.png", "lr.png", "lr2.png"}},
    {"a repeated tag is known by all its bytes, a quoted \">\" included",
     "<img alt=\">\" src=\"q.png\"><img alt=\">\" src=\"r.png\"><img src=\"q.png\">"
     "<img alt=\">\" src=\"r.png\"><video src=v.mp4><video src=v.mp4 poster=p.png>",
     {"q.png", "r.png", "v.mp4", "p.png"}},
    {"page order, the anchor first within one tag, duplicates without fragment",
     "<a href=\"z.zip\">z</a><img src=\"i.png\" href=\"h.zip\"><a href=\"i.png\">i</a>"
     "<img src=\"p.png#a\"><img src=\"p.png#b\">",
     {"z.zip", "h.zip", "i.png", "p.png"}},
    {"the wildcard on the name after the last slash, query kept",
     "<img src=\"a.JPG?x=1\"><img src=\"/x.jpg/y.png\"><img src=\"b.jpeg\">",
     {"a.JPG?x=1"},
     "*.jpg"},
};

TEST(MediaHarvest, FindsWhatEachRuleNamesTheSameWholeAndInPieces) {
    const std::string address = "http://h/d/page.html";
    std::uint32_t seed = 1;
    for (const MediaCase& c : kCases) {
        const HarvestOptions options = cuts::WithMedia(BuildMatchPattern(c.fileSpec));
        const Harvest whole = cuts::HarvestWhole(c.page, address, options);
        EXPECT_EQ(whole.addresses, Resolved(c.found)) << c.rule;
        for (const cuts::Cutting& cutting : cuts::CuttingsOf(c.page, seed++)) {
            EXPECT_TRUE(cuts::SameHarvest(
                cuts::HarvestInPieces(c.page, cutting.cuts, address, options), whole))
                << c.rule << ": " << cutting.name;
        }
    }
}

TEST(MediaHarvest, AnElementLongerThanItsBoundYieldsNothing) {
    const std::string page = "<img src=\"big.png\" data-src=\"" + std::string(1 << 20, 'x') +
                             "\"><img src=\"small.png\">";
    const HarvestOptions options = cuts::WithMedia("*");
    const Harvest whole = cuts::HarvestWhole(page, "http://h/d/", options);
    EXPECT_EQ(whole.addresses, Strings{"http://h/d/small.png"});
    EXPECT_TRUE(cuts::SameHarvest(
        cuts::HarvestInPieces(page, {1000, 600000, page.size() - 10}, "http://h/d/", options),
        whole));
}

// A page of some megabytes, each line one of the table's pages (but those with a <base> or a
// <plaintext>, which would end the markup) and a picture and an anchor of its own, so that the
// list fills up; `baseFrom`: a <base> in the first line from there.
std::string LongPage(std::size_t baseFrom = std::string::npos) {
    std::vector<std::string> pages;
    for (const MediaCase& c : kCases) {
        if (c.page.find("<base") == std::string::npos &&
            c.page.find("<plaintext") == std::string::npos)
            pages.push_back(c.page);
    }
    std::string page;
    for (std::size_t line = 0; page.size() < (7u << 19); ++line) {
        if (page.size() >= baseFrom) {
            page += "<base href=\"http://cdn.example/b/\">";
            baseFrom = std::string::npos;
        }
        page += pages[line % pages.size()] + "<img src=\"p" + std::to_string(line) +
                ".png\"><a href=\"f" + std::to_string(line) + ".zip\">f</a>\n";
    }
    return page;
}

// Lines of 256 bytes of text, so that a line end the line rule removes falls at the end of
// every stretch, each inside a tag (where it counts as a blank).
std::string LinedPage() {
    std::string page;
    for (std::size_t line = 0; page.size() < (5u << 19); ++line) {
        std::string text = "alt=\"y\"><a href=\"g" + std::to_string(line) + ".zip\">g</a>";
        const std::string open = "<img src=s" + std::to_string(line) + ".png";
        text += std::string(256 - text.size() - open.size(), '.') + open;
        page += text + "\r\n";
    }
    return page;
}

// The media reading on a thread of its own beside the anchor walk, as the wizard runs a whole
// page, finds what it finds on one thread.
TEST(MediaHarvest, BesideTheAnchorWalkItFindsWhatItFindsAlone) {
    platform::SideThread side;
    const HarvestOptions alone = cuts::WithMedia("*");
    HarvestOptions beside = alone;
    beside.runBeside = [&side](const std::function<void()>& walk,
                               const std::function<void()>& here) { side.Run(walk, here); };
    const struct {
        const char* name;
        std::string page;
    } rows[] = {{"no base, the list full", LongPage()},
                {"a base in the third stretch", LongPage(5u << 19)},
                {"a base in the last stretch", LongPage(13u << 18)},
                {"removed line ends at every stretch end", LinedPage()}};
    for (const auto& row : rows) {
        const Harvest one = cuts::HarvestWhole(row.page, "http://h/d/page.html", alone);
        EXPECT_TRUE(
            cuts::SameHarvest(cuts::HarvestWhole(row.page, "http://h/d/page.html", beside), one))
            << row.name;
        EXPECT_GT(one.addresses.size(), 1000u) << row.name;
    }
    // One side failing stops the other: the failure comes back, nothing waits for ever.
    int calls = 0;
    EXPECT_THROW(HarvestPage(LongPage(), "http://h/d/", beside, {},
                             [&](HarvestStage, std::size_t, std::size_t) {
                                 if (++calls == 3)
                                     throw std::runtime_error("stopped");
                             }),
                 std::runtime_error);
}

}  // namespace
}  // namespace gw::harvest
