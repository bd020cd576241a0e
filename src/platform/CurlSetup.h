#pragma once

#include <curl/curl.h>

#include <cstddef>

#include "ProjectVersion.h"
#include "platform/TransferEngine.h"

namespace gw::platform {

// Every request of the program names it so, the page renderer's included.
inline constexpr const char* kUserAgent = "GrabWright/" GW_VERSION_TEXT;

// The settings every transfer shares: schemes, time-outs, user agent, certificates, cookies,
// and the receive buffer (of `readBytes` where a gate asks for fewer than the usual; 0 for
// the usual). False when libcurl refuses one of them; such a handle must not be used, since a
// refused scheme restriction would let an address reach local files.
bool ConfigureEasy(CURL* easy, const TransferOptions& options, std::size_t readBytes,
                   char* errorBuffer);

}  // namespace gw::platform
