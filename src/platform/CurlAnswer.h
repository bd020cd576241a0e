#pragma once

#include <curl/curl.h>

#include <string>

#include "platform/TransferEngine.h"

namespace gw::platform {

// The value of the last answer's header `name`, "" when it sent none.
std::string HeaderValue(CURL* easy, const char* name);

// The status and the headers that decide what to do with a body, of the last answer.
ResponseHead ReadHead(CURL* easy);

// Where the answer tells to go next, "" when it is no redirect to follow.
std::string RedirectTarget(CURL* easy, long httpStatus);

// What libcurl's result says of a failure.
FailureKind FailureOf(CURLcode code);

}  // namespace gw::platform
