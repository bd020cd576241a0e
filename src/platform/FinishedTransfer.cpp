#include "platform/FinishedTransfer.h"

#include <strings.h>

namespace gw::platform {
namespace {

// A reset or broken connection, a time-out, or a server that asks to be tried later.
bool MayPass(CURLcode code, long httpStatus) {
    switch (code) {
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR:
        case CURLE_PARTIAL_FILE:
        case CURLE_OPERATION_TIMEDOUT:
        case CURLE_GOT_NOTHING:
        case CURLE_HTTP2:
        case CURLE_HTTP2_STREAM:
            return true;
        case CURLE_HTTP_RETURNED_ERROR:
            return httpStatus == 429 || httpStatus == 503;
        default:
            return false;
    }
}

}  // namespace

TransferResult ReadFinished(CURL* easy, CURLcode code, const char* errorBuffer) {
    TransferResult result;
    const char* effective = nullptr;
    if (curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective)
        result.finalAddress = effective;
    long redirects = 0;
    if (curl_easy_getinfo(easy, CURLINFO_REDIRECT_COUNT, &redirects) == CURLE_OK)
        result.redirected = redirects > 0;
    const char* scheme = nullptr;
    long status = 0;
    if (curl_easy_getinfo(easy, CURLINFO_SCHEME, &scheme) == CURLE_OK && scheme &&
        (strcasecmp(scheme, "http") == 0 || strcasecmp(scheme, "https") == 0) &&
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK)
        result.httpStatus = status;
    // libcurl says 0 both for "Retry-After: 0" and for no such header; only the header's
    // presence tells "at once" from "as you see fit".
    curl_header* header = nullptr;
    curl_off_t retryAfter = 0;
    if (curl_easy_header(easy, "Retry-After", 0, CURLH_HEADER, -1, &header) == CURLHE_OK &&
        curl_easy_getinfo(easy, CURLINFO_RETRY_AFTER, &retryAfter) == CURLE_OK && retryAfter >= 0)
        result.retryAfterSeconds = static_cast<long>(retryAfter);

    if (code == CURLE_OK && result.httpStatus < 400) {
        result.ok = true;
        return result;
    }
    result.error = errorBuffer && errorBuffer[0] != '\0' ? errorBuffer : curl_easy_strerror(code);
    if (result.httpStatus >= 400)
        result.error = "HTTP status " + std::to_string(result.httpStatus) + ": " + result.error;
    result.transient = MayPass(code, result.httpStatus);
    return result;
}

void FailWith(TransferResult& result, std::string error) {
    result.ok = false;
    result.transient = false;
    result.error = std::move(error);
}

}  // namespace gw::platform
