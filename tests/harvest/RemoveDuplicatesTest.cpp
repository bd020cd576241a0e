#include <gtest/gtest.h>

#include <random>

#include "LiteralHarvest.h"
#include "harvest/Harvest.h"

namespace gw::harvest {
namespace {

using Strings = std::vector<std::string>;

TEST(RemoveDuplicates, KeepsTheFirstOfEqualEntriesAndDropsBareSites) {
    const std::pair<Strings, Strings> cases[] = {
        {{"a", "b", "a", "c", "b"}, {"a", "b", "c"}},
        {{"http://h/A.zip", "http://h/a.zip"}, {"http://h/A.zip", "http://h/a.zip"}},
        {{"http://site.com", "http://site.com/a.zip", "http://site.COM"},
         {"http://site.com/a.zip", "http://site.COM"}},
        // The rule counts from the 8th character whatever the scheme: with "https://" that is
        // the scheme's second "/", so an https site address stays.
        {{"http://a.com", "ftp://c.com", "https://b.com"}, {"https://b.com"}},
        {{"http://a.com", "ftp://c.com"}, {}},
        // The 8th character is the first that counts; shorter entries have none.
        {{".com", "x.com", "abcdef/.com", "abcdefg/.com"}, {"abcdefg/.com"}},
        {{"x", "http://a.com", "x", "http://a.com", "y"}, {"x", "y"}},
        {{}, {}},
    };
    for (auto [entries, expected] : cases) {
        RemoveDuplicates(entries);
        EXPECT_EQ(entries, expected);
    }
}

TEST(RemoveDuplicates, AgreesWithTheQuadraticRemovalOnRandomLists) {
    const char* const words[] = {"a",
                                 "B",
                                 "http://x.com",
                                 "http://x.com/",
                                 "http://x.com/f",
                                 "x.com",
                                 "http://y.COM",
                                 "ab/cdefg.com",
                                 "abcdefgh/.com",
                                 "",
                                 "http://h/a.zip",
                                 "http://h/A.zip"};
    std::mt19937 random(5);
    for (int trial = 0; trial < 3000; ++trial) {
        Strings entries(random() % 60);
        for (std::string& e : entries)
            e = words[random() % std::size(words)];
        Strings expected = entries;
        literal::RemoveDuplicates(expected);
        std::size_t lastCount = 0;
        RemoveDuplicates(entries, [&](std::size_t, std::size_t count) { lastCount = count; });
        ASSERT_EQ(entries, expected);
        EXPECT_EQ(lastCount, entries.size());
    }
}

}  // namespace
}  // namespace gw::harvest
