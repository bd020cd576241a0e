#include "harvest/AddressJoiner.h"

#include <curl/curl.h>

namespace gw::harvest {
namespace {

bool IsAsciiLetter(char c) {
    return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
}

// The address as the URL parser reads it: surrounding blanks and controls gone, tabs and line
// breaks inside dropped, blanks and bytes outside printable ASCII percent-encoded.
void Clean(std::string_view written, std::string& out) {
    while (!written.empty() && static_cast<unsigned char>(written.front()) <= 0x20)
        written.remove_prefix(1);
    while (!written.empty() && static_cast<unsigned char>(written.back()) <= 0x20)
        written.remove_suffix(1);
    out.clear();
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : written) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\t' || c == '\n' || c == '\r')
            continue;
        if (byte <= 0x20 || byte >= 0x7F) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
}

bool IsKeptScheme(const char* scheme) {
    const std::string_view name(scheme);
    return name == "http" || name == "https" || name == "ftp";
}

}  // namespace

struct AddressJoiner::Handle {
    CURLU* url = curl_url();
    ~Handle() { curl_url_cleanup(url); }
};

AddressJoiner::AddressJoiner(std::string_view fetchedAddress) {
    auto page = std::make_unique<Handle>();
    // An address typed without a scheme came over http.
    const std::string address(fetchedAddress);
    if (curl_url_set(page->url, CURLUPART_URL, address.c_str(), 0) == CURLUE_OK ||
        curl_url_set(page->url, CURLUPART_URL, ("http://" + address).c_str(), 0) == CURLUE_OK) {
        base_ = std::move(page);
        KeepBaseAddress();
    }
}

AddressJoiner::~AddressJoiner() = default;

bool AddressJoiner::NamesScheme(std::string_view written) {
    std::size_t i = 0;
    while (i < written.size() && static_cast<unsigned char>(written[i]) <= 0x20)
        ++i;
    if (i == written.size() || !IsAsciiLetter(written[i]))
        return false;
    for (++i; i < written.size(); ++i) {
        const char c = written[i];
        if (c == ':')
            return true;
        if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
            return false;
    }
    return false;
}

void AddressJoiner::Rebase(std::string_view baseHref) {
    if (!base_)
        return;
    Clean(baseHref, cleaned_);
    CURLU* joined = curl_url_dup(base_->url);
    if (curl_url_set(joined, CURLUPART_URL, cleaned_.c_str(), 0) == CURLUE_OK) {
        curl_url_cleanup(base_->url);
        base_->url = joined;
        KeepBaseAddress();
    } else {
        curl_url_cleanup(joined);
    }
}

void AddressJoiner::KeepBaseAddress() {
    CURLU* copy = curl_url_dup(base_->url);
    curl_url_set(copy, CURLUPART_FRAGMENT, nullptr, 0);
    char* text = nullptr;
    baseAddress_.reset();
    if (curl_url_get(copy, CURLUPART_URL, &text, 0) == CURLUE_OK)
        baseAddress_ = text;
    curl_free(text);
    curl_url_cleanup(copy);
}

std::optional<std::string> AddressJoiner::Join(std::string_view written) {
    if (!base_)
        return std::nullopt;
    Clean(written, cleaned_);
    if (cleaned_.empty())
        return std::nullopt;
    // The page itself, which libcurl would take for its folder.
    if (cleaned_.front() == '#')
        return baseAddress_;
    if (NamesScheme(cleaned_)) {
        // data:, javascript:, mailto: and the like need no parser to be left out.
        const std::size_t colon = cleaned_.find(':');
        const std::string scheme = cleaned_.substr(0, colon);
        std::string lower;
        for (const char c : scheme)
            lower += static_cast<char>(c | 0x20);
        if (!IsKeptScheme(lower.c_str()))
            return std::nullopt;
    }
    CURLU* joined = curl_url_dup(base_->url);
    std::optional<std::string> address;
    char* scheme = nullptr;
    char* text = nullptr;
    if (curl_url_set(joined, CURLUPART_URL, cleaned_.c_str(), 0) == CURLUE_OK &&
        curl_url_set(joined, CURLUPART_FRAGMENT, nullptr, 0) == CURLUE_OK &&
        curl_url_get(joined, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK && IsKeptScheme(scheme) &&
        curl_url_get(joined, CURLUPART_URL, &text, 0) == CURLUE_OK)
        address = text;
    curl_free(scheme);
    curl_free(text);
    curl_url_cleanup(joined);
    return address;
}

}  // namespace gw::harvest
