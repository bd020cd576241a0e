#include <gtest/gtest.h>

#include <random>

#include "LiteralHarvest.h"
#include "harvest/Harvest.h"

namespace gw::harvest {
namespace {

TEST(MatchPattern, IsBuiltFromTheFileSpecification) {
    const std::pair<const char*, const char*> cases[] = {
        {"*.zip", "*.ZIP*"},
        {"readme*", "*README*"},
        {"setup?.exe", "*SETUP?.EXE*"},
        {"*", "*"},
        {"**", "*"},
        {"", "*"},
        {"setup.exe", "*SETUP.EXE*"},
        {"a*b", "*A*B*"},
        {"***x***", "**X**"},
        {"[a-f]#.Zip", "*[A-F]#.ZIP*"},
        {"caf\xe9", "*CAF\xe9*"},
    };
    for (const auto& [fileSpec, pattern] : cases)
        EXPECT_EQ(BuildMatchPattern(fileSpec), pattern) << fileSpec;
}

TEST(MatchPattern, IsInvalidWhenABracketIsNotClosed) {
    const std::pair<const char*, bool> cases[] = {
        {"*[A-F]*", true},  {"*[A*", false}, {"*[[]*", true},  {"*]*", true},
        {"*[A]B[*", false}, {"*[]*", true},  {"*[!]]*", true}, {"*[*", false},
    };
    for (const auto& [pattern, valid] : cases)
        EXPECT_EQ(PatternIsValid(pattern), valid) << pattern;
}

TEST(MatchPattern, MatchesTheWholeName) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        {"A.ZIP", "*.ZIP*", true},
        {"A.ZIP?X=1", "*.ZIP*", true},
        {"A.ZI", "*.ZIP*", false},
        {"", "*", true},
        {"", "*?*", false},
        {"AB", "*A*", true},
        {"AB", "A", false},
        {"SETUP7.EXE", "*SETUP#.EXE*", true},
        {"SETUPX.EXE", "*SETUP#.EXE*", false},
        {"SETUPX.EXE", "*SETUP?.EXE*", true},
        {"C", "[A-F]", true},
        {"G", "[A-F]", false},
        {"G", "[!A-F]", true},
        {"5", "[!0-9]", false},
        {"*", "[*]", true},
        {"X", "[*]", false},
        {"?", "[?]", true},
        {"#", "[#]", true},
        {"[", "[[]", true},
        {"-", "[A-]", true},
        {"B", "[AC-]", false},
        {"Q", "[]", false},
        {"Q", "[!]", true},
        {"B", "[C-A]", false},
        {"\xe9", "?", true},
        {"\xe9", "[\xe0-\xff]", true},
        {"ABCABD", "*AB?", true},
        {"AAAAAAAAAAAAAAAAAAAAB", "*A*A*A*A*C*", false},
        {"A]", "A]", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatch(c.name, c.pattern), c.matches) << c.name << " ~ " << c.pattern;
}

TEST(MatchPattern, AgreesWithTheLiteralMatcherOnRandomPairs) {
    std::mt19937 random(7);
    const std::string nameBytes = "AB1.-*?#[]!";
    const std::string patternBytes = "AB1.-*?#[]!*";
    auto draw = [&](const std::string& from, std::size_t maxLength) {
        std::string text(random() % (maxLength + 1), ' ');
        for (char& c : text)
            c = from[random() % from.size()];
        return text;
    };
    for (int trial = 0; trial < 20000; ++trial) {
        const std::string name = draw(nameBytes, 8);
        const std::string pattern = draw(patternBytes, 7);
        ASSERT_EQ(WildcardMatch(name, pattern), literal::Like(name, pattern))
            << name << " ~ " << pattern;
    }
}

}  // namespace
}  // namespace gw::harvest
