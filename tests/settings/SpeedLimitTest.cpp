#include <gtest/gtest.h>

#include "settings/SettingsStore.h"
#include "settings/SpeedLimit.h"

// A hand-edited value that is not a plain count of KB/s in range limits nothing.
TEST(SpeedLimit, OnlyAWholeNumberInRangeIsALimit) {
    EXPECT_EQ(gw::settings::ReadSpeedLimit(), 0);
    const std::pair<const char*, int> stored[] = {
        {"0", 0},  {"0064", 64}, {"1048576", 1048576}, {"1048577", 0}, {"99999999", 0},
        {"-5", 0}, {"2M", 0},    {" 64", 0},           {"6.5", 0},     {"", 0}};
    for (const auto& [text, limit] : stored) {
        gw::settings::WriteSetting("GrabWright", "Settings", "LimitRate", text);
        EXPECT_EQ(gw::settings::ReadSpeedLimit(), limit) << '"' << text << '"';
    }
}
