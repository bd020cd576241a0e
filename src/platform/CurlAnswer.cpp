#include "platform/CurlAnswer.h"

#include <strings.h>

#include "platform/CurlHandle.h"

namespace gw::platform {

std::string HeaderValue(CURL* easy, const char* name) {
    curl_header* header = nullptr;
    if (curl_easy_header(easy, name, 0, CURLH_HEADER, -1, &header) != CURLHE_OK ||
        header == nullptr || header->value == nullptr)
        return {};
    return header->value;
}

ResponseHead ReadHead(CURL* easy) {
    ResponseHead head;
    const char* scheme = nullptr;
    long status = 0;
    if (curl_easy_getinfo(easy, CURLINFO_SCHEME, &scheme) != CURLE_OK || scheme == nullptr ||
        (strcasecmp(scheme, "http") != 0 && strcasecmp(scheme, "https") != 0))
        return head;
    if (curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK)
        head.httpStatus = status;
    head.contentRange = HeaderValue(easy, "Content-Range");
    head.etag = HeaderValue(easy, "ETag");
    head.lastModified = HeaderValue(easy, "Last-Modified");
    head.acceptRanges = HeaderValue(easy, "Accept-Ranges");
    head.date = HeaderValue(easy, "Date");
    curl_off_t length = -1;
    if (curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK)
        head.contentLength = length;
    return head;
}

std::string RedirectTarget(CURL* easy, long httpStatus) {
    // 304 only says "as before" and names no new place.
    if (httpStatus < 300 || httpStatus >= 400 || httpStatus == 304)
        return {};
    // Read off the header rather than CURLINFO_REDIRECT_URL, which libcurl fills in only once
    // the answer's body is over: the body of a redirect must be known for one from the start.
    const std::string location = HeaderValue(easy, "Location");
    const char* base = nullptr;
    if (location.empty() || curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &base) != CURLE_OK ||
        base == nullptr)
        return {};
    CurlUrl url(curl_url());
    constexpr unsigned kAsBrowsersRead =
        CURLU_NON_SUPPORT_SCHEME | CURLU_URLENCODE | CURLU_ALLOW_SPACE;
    char* target = nullptr;
    if (!url || curl_url_set(url.get(), CURLUPART_URL, base, 0) != CURLUE_OK ||
        curl_url_set(url.get(), CURLUPART_URL, location.c_str(), kAsBrowsersRead) != CURLUE_OK ||
        curl_url_get(url.get(), CURLUPART_URL, &target, 0) != CURLUE_OK || target == nullptr)
        return {};
    std::string resolved(target);
    curl_free(target);
    return resolved;
}

FailureKind FailureOf(CURLcode code) {
    switch (code) {
        case CURLE_OK:
            return FailureKind::None;
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR:
        case CURLE_PARTIAL_FILE:
        case CURLE_OPERATION_TIMEDOUT:
        case CURLE_GOT_NOTHING:
        case CURLE_HTTP2:
        case CURLE_HTTP2_STREAM:
            return FailureKind::Connection;
        case CURLE_HTTP_RETURNED_ERROR:
            return FailureKind::HttpStatus;
        default:
            return FailureKind::Other;
    }
}

}  // namespace gw::platform
