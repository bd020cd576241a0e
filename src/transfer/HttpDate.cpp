#include "transfer/HttpDate.h"

#include <time.h>

#include <array>
#include <cstdio>
#include <cstring>

namespace gw::transfer {
namespace {

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

}  // namespace

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

}  // namespace gw::transfer
