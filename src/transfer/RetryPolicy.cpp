#include "transfer/RetryPolicy.h"

#include <time.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace gw::transfer {
namespace {

// The first pause, doubled for each further try.
constexpr std::chrono::milliseconds kFirstPause{1000};

std::string Trimmed(const std::string& value) {
    const auto first = value.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return value.substr(first, value.find_last_not_of(" \t") - first + 1);
}

int MonthIndex(const char* name) {
    static constexpr std::array<const char*, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        if (std::strcmp(name, kMonths[i]) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

std::optional<std::chrono::system_clock::time_point> TimePoint(int year, const char* month, int day,
                                                               int hour, int minute, int second) {
    const int monthIndex = MonthIndex(month);
    if (monthIndex < 0 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = monthIndex;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    const time_t when = ::timegm(&parts);
    if (when == static_cast<time_t>(-1))
        return std::nullopt;
    return std::chrono::system_clock::from_time_t(when);
}

// The three forms HTTP allows, read without the C library's locale-bound month names.
std::optional<std::chrono::system_clock::time_point> ParseHttpDate(const std::string& text) {
    int day = 0, year = 0, hour = 0, minute = 0, second = 0, used = 0;
    char month[4] = {};
    const char* s = text.c_str();
    const auto whole = [&] { return static_cast<std::size_t>(used) == text.size(); };
    // "Sun, 06 Nov 1994 08:49:37 GMT"
    if (std::sscanf(s, "%*[A-Za-z], %2d %3s %4d %2d:%2d:%2d GMT%n", &day, month, &year, &hour,
                    &minute, &second, &used) == 6 &&
        whole())
        return TimePoint(year, month, day, hour, minute, second);
    // "Sunday, 06-Nov-94 08:49:37 GMT"
    used = 0;
    if (std::sscanf(s, "%*[A-Za-z], %2d-%3[A-Za-z]-%2d %2d:%2d:%2d GMT%n", &day, month, &year,
                    &hour, &minute, &second, &used) == 6 &&
        whole())
        return TimePoint(year < 70 ? 2000 + year : 1900 + year, month, day, hour, minute, second);
    // "Sun Nov  6 08:49:37 1994"
    used = 0;
    if (std::sscanf(s, "%*[A-Za-z] %3s %2d %2d:%2d:%2d %4d%n", month, &day, &hour, &minute, &second,
                    &year, &used) == 6 &&
        whole())
        return TimePoint(year, month, day, hour, minute, second);
    return std::nullopt;
}

}  // namespace

bool MayPass(const platform::TransferResult& result) {
    switch (result.failure) {
        case platform::FailureKind::Connection:
            return true;
        case platform::FailureKind::HttpStatus:
            return result.httpStatus == 429 || result.httpStatus == 503;
        default:
            return false;
    }
}

std::optional<std::chrono::milliseconds> PauseBeforeTry(
    int nextTry, bool transient, std::optional<std::chrono::seconds> retryAfter) {
    if (!transient || nextTry < 2 || nextTry > kMaxTries)
        return std::nullopt;
    if (retryAfter)
        return std::chrono::milliseconds(
            std::clamp(*retryAfter, std::chrono::seconds{0}, kMaxRetryAfter));
    return kFirstPause * (1 << (nextTry - 2));
}

std::optional<std::chrono::seconds> ParseRetryAfter(const std::string& value,
                                                    std::chrono::system_clock::time_point now) {
    const std::string text = Trimmed(value);
    if (text.empty())
        return std::nullopt;
    if (std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        // Anything past a day is as good as a day: the wait is capped far below it anyway.
        if (text.size() > 6)
            return std::chrono::seconds(86400);
        return std::chrono::seconds(std::stol(text));
    }
    const auto when = ParseHttpDate(text);
    if (!when)
        return std::nullopt;
    return std::max(std::chrono::seconds{0}, std::chrono::ceil<std::chrono::seconds>(*when - now));
}

}  // namespace gw::transfer
