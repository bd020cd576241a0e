#include "harvest/MediaElements.h"

#include <optional>

#include "harvest/SrcsetPick.h"

namespace gw::harvest {
namespace {

constexpr std::string_view kAttributeNames[kMediaAttributeCount] = {
    "src",           "srcset", "data-src", "data-srcset", "data-original",
    "data-lazy-src", "poster", "data",     "style",       "href"};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

bool HoldsMoreThanBlanks(std::string_view text) {
    for (const char c : text)
        if (!IsBlank(c))
            return true;
    return false;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

void Add(std::string_view address, std::size_t key, std::vector<MediaFind>& found) {
    found.push_back(MediaFind{key, std::string(address)});
}

// A picture: its largest srcset candidate, else the first lazy-load or plain address.
void PictureOf(const TagAttributes& attributes, std::size_t key, std::vector<MediaFind>& found) {
    for (const MediaAttribute srcset : {kDataSrcsetAttribute, kSrcsetAttribute}) {
        if (!attributes.has(srcset))
            continue;
        if (const std::optional<std::string_view> best = PickFromSrcset(attributes[srcset])) {
            Add(*best, key, found);
            return;
        }
    }
    for (const MediaAttribute src :
         {kDataSrcAttribute, kDataOriginalAttribute, kDataLazySrcAttribute, kSrcAttribute}) {
        if (attributes.has(src) && HoldsMoreThanBlanks(attributes[src])) {
            Add(attributes[src], key, found);
            return;
        }
    }
}

void IfPresent(const TagAttributes& attributes, MediaAttribute attribute, std::size_t key,
               std::vector<MediaFind>& found) {
    if (attributes.has(attribute))
        Add(attributes[attribute], key, found);
}

bool IsIdentifierByte(char c) {
    return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') || c == '-' ||
           c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

}  // namespace

int MediaAttributeOf(std::string_view lowerName) {
    for (int attribute = 0; attribute < kMediaAttributeCount; ++attribute)
        if (kAttributeNames[attribute] == lowerName)
            return attribute;
    return -1;
}

void MediaOfElement(std::string_view tag, const TagAttributes& attributes, std::size_t key,
                    std::vector<MediaFind>& found) {
    if (tag == "img" || tag == "source") {
        PictureOf(attributes, key, found);
    } else if (tag == "video") {
        IfPresent(attributes, kSrcAttribute, key, found);
        IfPresent(attributes, kPosterAttribute, key, found);
    } else if (tag == "audio" || tag == "track" || tag == "embed") {
        IfPresent(attributes, kSrcAttribute, key, found);
    } else if (tag == "object") {
        IfPresent(attributes, kDataAttribute, key, found);
    }
    if (attributes.has(kStyleAttribute))
        UrlsOfStyle(attributes[kStyleAttribute], key, found);
}

void UrlsOfStyle(std::string_view style, std::size_t key, std::vector<MediaFind>& found) {
    const std::size_t n = style.size();
    for (std::size_t at = 0; at + 4 <= n; ++at) {
        if ((style[at] | 0x20) != 'u' || (style[at + 1] | 0x20) != 'r' ||
            (style[at + 2] | 0x20) != 'l' || style[at + 3] != '(' ||
            (at > 0 && IsIdentifierByte(style[at - 1])))
            continue;
        std::size_t i = at + 4;
        while (i < n && IsBlank(style[i]))
            ++i;
        std::string_view address;
        if (i < n && (style[i] == '"' || style[i] == '\'')) {
            // A quoted address may hold ")" and blanks: it runs to its closing quote.
            const std::size_t end = style.find(style[i], i + 1);
            if (end == std::string_view::npos)
                return;
            address = style.substr(i + 1, end - i - 1);
            at = end;
        } else {
            const std::size_t close = style.find(')', i);
            if (close == std::string_view::npos)
                return;
            address = TrimBlanks(style.substr(i, close - i));
            at = close;
        }
        if (HoldsMoreThanBlanks(address))
            Add(address, key, found);
    }
}

bool IsTextOnlyElement(std::string_view tag) {
    for (const std::string_view name :
         {"script", "style", "title", "textarea", "xmp", "iframe", "noembed", "noframes"})
        if (tag == name)
            return true;
    return false;
}

}  // namespace gw::harvest
