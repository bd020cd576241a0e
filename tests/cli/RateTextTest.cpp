#include <gtest/gtest.h>

#include "cli/RateText.h"

TEST(RateText, WholeNumbersWithAPowerOf1024AndNothingBelow1k) {
    const std::pair<const char*, std::uint64_t> rates[] = {
        {"1024", 1024},     {"1k", 1024},         {"1K", 1024},
        {"500k", 512000},   {"2M", 2 << 20},      {"2m", 2 << 20},
        {"3G", 3ull << 30}, {"0010k", 10 * 1024}, {"17179869183G", 17179869183ull << 30}};
    for (const auto& [text, bytesPerSecond] : rates)
        EXPECT_EQ(gw::cli::ReadRate(text), bytesPerSecond) << text;
    for (const char* text : {"1023", "0", "0k", "-1", "+2M", "1x", "2MB", "2kk", "1e3", "0.5k",
                             "1,5M", " 2M", "2M ", "", "k", "17179869184G", "18446744073709551616"})
        EXPECT_EQ(gw::cli::ReadRate(text), std::nullopt) << '"' << text << '"';
}
