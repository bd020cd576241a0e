#pragma once

#include <curl/curl.h>

#include <string>

namespace gw::platform {

// Reads a cookies file in the Netscape format into `store`; the file is only read. False, with
// the reason, when it cannot be read.
bool LoadCookieFile(CURLSH* store, const std::string& path, std::string& why);

}  // namespace gw::platform
