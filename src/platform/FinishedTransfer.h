#pragma once

#include <curl/curl.h>

#include "platform/UrlTransfer.h"

namespace gw::platform {

// What libcurl knows of a transfer that has ended: where the body came from, the status, the
// server's Retry-After, and, for a failure of libcurl's own, its text and whether it may pass.
// Failures the caller saw first (a refusing sink, an abort) are the caller's to set over it.
TransferResult ReadFinished(CURL* easy, CURLcode code, const char* errorBuffer);

// Marks the result failed for a reason of the caller's; such a failure never passes by itself.
void FailWith(TransferResult& result, std::string error);

}  // namespace gw::platform
