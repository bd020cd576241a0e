#include <gtest/gtest.h>

#include "retrieval/PageText.h"

TEST(LineRule, DropsEveryCrAndTheLfRightAfterIt) {
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
        gw::retrieval::ApplyLineRule(text);
        EXPECT_EQ(text, expected);
    }
}
