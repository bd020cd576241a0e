#pragma once

#include <curl/curl.h>

#include <cstdint>
#include <functional>
#include <string>

namespace gw::platform {

// The largest cookies file read: a browser's whole jar is a few megabytes.
inline constexpr std::uint64_t kMaxCookieFileBytes = 64ull << 20;

// Reads a cookies file in the Netscape format into `store`; the file is only read. False, with
// the reason, when it is no regular file, is larger than kMaxCookieFileBytes or cannot be read;
// false with no reason when `stopped` said so between two lines.
bool LoadCookieFile(CURLSH* store, const std::string& path, std::string& why,
                    const std::function<bool()>& stopped);

// The same, from the text of such a file.
bool LoadCookieText(CURLSH* store, const std::string& bytes, std::string& why,
                    const std::function<bool()>& stopped = {});

}  // namespace gw::platform
