#include <gtest/gtest.h>

#include "harvest/LineRule.h"

TEST(LineRule, DropsEveryCrAndTheLfRightAfterItWhereverThePageIsCut) {
    const std::pair<std::string, std::string> cases[] = {
        {"x\r\ny\r\nz", "xyz"},
        {"x\ny\nz", "x\ny\nz"},  // a lone LF is not a line end
        {"x\ry", "xy"},
        {"\r\n\r\n", ""},
        {"a\n\rb", "a\nb"},  // LF then CR: only the CR goes
        {"a\r\r\nb", "ab"},
        {"a\r\n\nb", "a\nb"},  // only the first LF after a CR goes
        {"", ""},
        {"\r", ""},
        {std::string("a\0\r\nb", 5), std::string("a\0b", 3)},
    };
    for (const auto& [bytes, expected] : cases) {
        std::string text = bytes;
        gw::harvest::ApplyLineRule(text);
        EXPECT_EQ(text, expected);
        for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
            gw::harvest::LineEnds ends;
            std::string joined;
            for (std::string_view piece :
                 {std::string_view(bytes).substr(0, cut), std::string_view(bytes).substr(cut)}) {
                while (!piece.empty())
                    joined += ends.Next(piece);
            }
            EXPECT_EQ(joined, expected) << "cut at " << cut;
        }
    }
}
