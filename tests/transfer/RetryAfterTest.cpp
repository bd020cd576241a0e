// Retry-After as servers send it: seconds, the three HTTP date forms, and values that are
// neither, which must count as not sent rather than as "at once".
#include <gtest/gtest.h>

#include "transfer/RetryPolicy.h"

namespace {

using std::chrono::seconds;

TEST(ParseRetryAfter, ReadsSecondsAndHttpDatesAndNothingElse) {
    // Sun, 06 Nov 1994 08:49:37 GMT
    const auto now = std::chrono::system_clock::from_time_t(784111777);
    struct Case {
        const char* value;
        std::optional<seconds> wait;
    };
    const Case cases[] = {
        {"5", seconds(5)},
        {" 0 ", seconds(0)},
        {"99999999999999999999", seconds(86400)},
        {"Sun, 06 Nov 1994 08:49:40 GMT", seconds(3)},
        {"Sunday, 06-Nov-94 08:49:47 GMT", seconds(10)},
        {"Sun Nov  6 08:50:37 1994", seconds(60)},
        {"Sun, 06 Nov 1994 08:00:00 GMT", seconds(0)},  // already past
        {"soon", std::nullopt},
        {"-5", std::nullopt},
        {"1.5", std::nullopt},
        {"", std::nullopt},
        {"Sun, 06 Foo 1994 08:49:40 GMT", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gw::transfer::ParseRetryAfter(c.value, now), c.wait) << '"' << c.value << '"';
}

}  // namespace
