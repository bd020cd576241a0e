#include "platform/Referrer.h"

#include <strings.h>

#include <optional>

#include "platform/CurlHandle.h"

namespace gw::platform {
namespace {

struct Parsed {
    CurlUrl url;
    std::string scheme;
    std::string host;
    std::string port;
};

std::string Part(CURLU* url, CURLUPart part, unsigned flags = 0) {
    char* text = nullptr;
    if (curl_url_get(url, part, &text, flags) != CURLUE_OK || text == nullptr)
        return {};
    std::string value(text);
    curl_free(text);
    return value;
}

std::optional<Parsed> ParseWeb(const std::string& address) {
    Parsed parsed;
    parsed.url.reset(curl_url());
    if (!parsed.url || curl_url_set(parsed.url.get(), CURLUPART_URL, address.c_str(),
                                    CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK)
        return std::nullopt;
    parsed.scheme = Part(parsed.url.get(), CURLUPART_SCHEME);
    if (strcasecmp(parsed.scheme.c_str(), "http") != 0 &&
        strcasecmp(parsed.scheme.c_str(), "https") != 0)
        return std::nullopt;
    parsed.host = Part(parsed.url.get(), CURLUPART_HOST);
    parsed.port = Part(parsed.url.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
    return parsed;
}

}  // namespace

std::string ReferrerFor(const std::string& page, const std::string& target) {
    const std::optional<Parsed> from = ParseWeb(page);
    const std::optional<Parsed> to = ParseWeb(target);
    if (!from || !to)
        return {};
    const bool fromSecure = strcasecmp(from->scheme.c_str(), "https") == 0;
    const bool toSecure = strcasecmp(to->scheme.c_str(), "https") == 0;
    if (fromSecure && !toSecure)
        return {};
    CURLU* url = from->url.get();
    curl_url_set(url, CURLUPART_FRAGMENT, nullptr, 0);
    curl_url_set(url, CURLUPART_USER, nullptr, 0);
    curl_url_set(url, CURLUPART_PASSWORD, nullptr, 0);
    const bool sameOrigin = strcasecmp(from->scheme.c_str(), to->scheme.c_str()) == 0 &&
                            strcasecmp(from->host.c_str(), to->host.c_str()) == 0 &&
                            from->port == to->port;
    if (!sameOrigin) {
        curl_url_set(url, CURLUPART_PATH, "/", 0);
        curl_url_set(url, CURLUPART_QUERY, nullptr, 0);
    }
    return Part(url, CURLUPART_URL);
}

}  // namespace gw::platform
