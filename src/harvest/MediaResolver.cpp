#include "harvest/MediaResolver.h"

#include <curl/curl.h>

#include "harvest/UpperCase.h"

namespace gw::harvest {
namespace {

// Distinct addresses remembered at most; past it the memory starts over, so a page of a
// million distinct pictures costs no more than one of a few thousand.
constexpr std::size_t kMaxRemembered = 1 << 16;

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

struct MediaResolver::Handle {
    CURLU* url = curl_url();
    ~Handle() { curl_url_cleanup(url); }
};

MediaResolver::MediaResolver(const NameFilter& filter, std::string_view fetchedAddress)
    : filter_(filter) {
    auto page = std::make_unique<Handle>();
    // An address typed without a scheme came over http.
    const std::string address(fetchedAddress);
    if (curl_url_set(page->url, CURLUPART_URL, address.c_str(), 0) == CURLUE_OK ||
        curl_url_set(page->url, CURLUPART_URL, ("http://" + address).c_str(), 0) == CURLUE_OK)
        base_ = std::move(page);
}

MediaResolver::~MediaResolver() = default;

bool MediaResolver::NamesScheme(std::string_view written) {
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

void MediaResolver::SetBase(const std::optional<std::string>& baseHref) {
    if (!base_)
        return;
    if (baseHref) {
        Clean(*baseHref, cleaned_);
        CURLU* joined = curl_url_dup(base_->url);
        // A base that does not parse leaves the page's own address the base.
        if (curl_url_set(joined, CURLUPART_URL, cleaned_.c_str(), 0) == CURLUE_OK) {
            curl_url_cleanup(base_->url);
            base_->url = joined;
        } else {
            curl_url_cleanup(joined);
        }
    }
    CURLU* copy = curl_url_dup(base_->url);
    curl_url_set(copy, CURLUPART_FRAGMENT, nullptr, 0);
    char* text = nullptr;
    if (curl_url_get(copy, CURLUPART_URL, &text, 0) == CURLUE_OK)
        baseAddress_ = text;
    curl_free(text);
    curl_url_cleanup(copy);
}

std::optional<std::string> MediaResolver::Join(std::string_view written) {
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

const std::string* MediaResolver::ResolveOnce(std::string_view written, std::uint64_t hash) {
    if (written_.size() >= kMaxRemembered) {
        written_.Clear();
        resolved_.clear();
    }
    bool added = false;
    const std::uint32_t number = written_.Insert(written, hash, added);
    if (added) {
        std::optional<std::string> entry = Join(written);
        if (entry) {
            // The name after the last "/", query and all, as an anchor's is matched.
            const std::size_t slash = entry->rfind('/');
            std::string name = entry->substr(slash == std::string::npos ? 0 : slash + 1);
            for (char& c : name)
                c = UpperAscii(c);
            if (!filter_.Matches(name))
                entry.reset();
        }
        resolved_.push_back(Resolved{std::move(entry)});
    }
    Resolved& resolved = resolved_[number];
    if (resolved.given || !resolved.entry)
        return nullptr;
    resolved.given = true;
    return &*resolved.entry;
}

}  // namespace gw::harvest
