#pragma once

#include <curl/curl.h>

#include "platform/TransferEngine.h"

namespace gw::platform {

// The settings every transfer shares: schemes, time-outs, user agent, certificates, cookies.
// False when libcurl refuses one of them; such a handle must not be used, since a refused
// scheme restriction would let an address reach local files.
bool ConfigureEasy(CURL* easy, const TransferOptions& options, char* errorBuffer);

}  // namespace gw::platform
