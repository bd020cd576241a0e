#include <gtest/gtest.h>

#include "transfer/TransferFigures.h"

namespace {

TEST(TransferFigures, SizesRatesAndTimesReadAsAFileManagerWritesThem) {
    using namespace gw::transfer;
    const std::pair<std::string, const char*> texts[] = {
        {SizeText(999), "999 bytes"},
        {SizeText(12345), "12.3 kB"},
        {SizeText(999960), "1.0 MB"},
        {SizeText(4294967296), "4.3 GB"},
        {RateText(2), "2 bytes/s"},
        {TimeLeftText(59.6), "about 1 min left"},
        {TimeLeftText(7200), "about 2 h left"},
    };
    for (const auto& [text, wanted] : texts)
        EXPECT_EQ(text, wanted);
}

TEST(TransferFigures, TheTimeLeftWaitsForARateThatHeldAndANewTryStartsOver) {
    const gw::transfer::RateMeter::Clock::time_point start{};
    // Seconds from the start, bytes so far, the file's length; what the dialog says.
    const std::tuple<int, std::uint64_t, std::optional<std::uint64_t>, const char*> steps[] = {
        {0, 0, 45000000, "0 bytes of 45.0 MB"},
        {1, 5000000, 45000000, "5.0 MB of 45.0 MB, 5.0 MB/s"},
        {2, 10000000, 45000000, "10.0 MB of 45.0 MB, 5.0 MB/s, about 7 s left"},
        {3, 12300000, std::nullopt, "12.3 MB, 4.1 MB/s"},
        // A new try counts from 0 again: no rate until it has one of its own.
        {4, 1000, 45000000, "1.0 kB of 45.0 MB"},
        {5, 2000, 45000000, "2.0 kB of 45.0 MB, 1.0 kB/s"},
    };
    gw::transfer::RateMeter meter;
    for (const auto& [second, bytes, length, text] : steps) {
        meter.add(start + std::chrono::seconds(second), bytes);
        EXPECT_EQ(gw::transfer::ProgressFigures(bytes, length, meter), text) << second;
    }
    // The rate is the last five seconds', not the whole try's.
    for (int second = 6; second <= 20; ++second)
        meter.add(start + std::chrono::seconds(second), 2000 + (second >= 18 ? 3000 : 0));
    EXPECT_EQ(meter.rate(), 600.0);
}

}  // namespace
