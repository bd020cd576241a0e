#include "platform/HttpDate.h"

#include <curl/curl.h>

namespace gw::platform {

// libcurl's reader takes the three forms HTTP allows, with month names of its own whatever the
// locale, and is more lenient than HTTP asks (other zones, a missing time). Where it answers
// otherwise than HTTP would, the difference is let stand: its -1 for failure makes the last
// second of 1969 one second late, a two-digit year 70 is 2070, and a year before 1583 (which
// no server's file carries) is no date.
std::optional<std::chrono::sys_seconds> ParseHttpDate(const std::string& text) {
    static_assert(sizeof(time_t) >= 8, "dates past 2038 need a 64-bit time_t");
    const time_t when = curl_getdate(text.c_str(), nullptr);
    if (when == -1)
        return std::nullopt;
    return std::chrono::sys_seconds(std::chrono::seconds(when));
}

}  // namespace gw::platform
