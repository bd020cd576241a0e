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

void Add(std::string_view address, std::size_t key, PlacedQueue& found) {
    found.push(key, address);
}

// A picture: its largest srcset candidate, else the first lazy-load or plain address.
void PictureOf(const TagAttributes& attributes, std::size_t key, PlacedQueue& found) {
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
               PlacedQueue& found) {
    if (attributes.has(attribute))
        Add(attributes[attribute], key, found);
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c;
}

// `name` in any letter case is `lower`.
bool IsNamed(std::string_view name, std::string_view lower) {
    if (name.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (LowerAscii(name[i]) != lower[i])
            return false;
    return true;
}

bool IsIdentifierByte(char c) {
    return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') || c == '-' ||
           c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

}  // namespace

TagKind KindOf(std::string_view name) {
    // Most tags of a page are none of these: the first letter settles them, and the others
    // are told apart by one comparison or two.
    if (name.size() < 3 || name.size() > 9)
        return TagKind::Other;
    switch (LowerAscii(name[0])) {
        case 'i':
            return IsNamed(name, "img")      ? TagKind::Picture
                   : IsNamed(name, "iframe") ? TagKind::TextOnly
                                             : TagKind::Other;
        case 's':
            return IsNamed(name, "source")   ? TagKind::Picture
                   : IsNamed(name, "script") ? TagKind::TextOnly
                   : IsNamed(name, "style")  ? TagKind::TextOnly
                                             : TagKind::Other;
        case 'v':
            return IsNamed(name, "video") ? TagKind::Video : TagKind::Other;
        case 'a':
            return IsNamed(name, "audio") ? TagKind::Sound : TagKind::Other;
        case 't':
            return IsNamed(name, "track")      ? TagKind::Sound
                   : IsNamed(name, "title")    ? TagKind::TextOnly
                   : IsNamed(name, "textarea") ? TagKind::TextOnly
                                               : TagKind::Other;
        case 'e':
            return IsNamed(name, "embed") ? TagKind::Sound : TagKind::Other;
        case 'o':
            return IsNamed(name, "object") ? TagKind::Object : TagKind::Other;
        case 'b':
            return IsNamed(name, "base") ? TagKind::Base : TagKind::Other;
        case 'x':
            return IsNamed(name, "xmp") ? TagKind::TextOnly : TagKind::Other;
        case 'n':
            return IsNamed(name, "noembed") || IsNamed(name, "noframes") ? TagKind::TextOnly
                                                                         : TagKind::Other;
        case 'p':
            return IsNamed(name, "plaintext") ? TagKind::Plaintext : TagKind::Other;
        default:
            return TagKind::Other;
    }
}

int MediaAttributeOf(TagKind kind, std::string_view name) {
    if (name.size() < 3 || name.size() > 13)
        return -1;
    // Most tags are of no kind this reading knows: only their style can name an address.
    if (kind == TagKind::Other)
        return IsNamed(name, "style") ? kStyleAttribute : -1;
    int attribute = -1;
    switch (LowerAscii(name[0])) {
        case 's':
        case 'd':
        case 'p':
        case 'h':
            for (int candidate = 0; candidate < kMediaAttributeCount; ++candidate) {
                if (IsNamed(name, kAttributeNames[candidate])) {
                    attribute = candidate;
                    break;
                }
            }
            break;
        default:
            return -1;
    }
    switch (attribute) {
        case kStyleAttribute:
            return attribute;
        case kSrcAttribute:
            return kind == TagKind::Picture || kind == TagKind::Video || kind == TagKind::Sound
                       ? attribute
                       : -1;
        case kSrcsetAttribute:
        case kDataSrcAttribute:
        case kDataSrcsetAttribute:
        case kDataOriginalAttribute:
        case kDataLazySrcAttribute:
            return kind == TagKind::Picture ? attribute : -1;
        case kPosterAttribute:
            return kind == TagKind::Video ? attribute : -1;
        case kDataAttribute:
            return kind == TagKind::Object ? attribute : -1;
        case kHrefAttribute:
            return kind == TagKind::Base ? attribute : -1;
        default:
            return -1;
    }
}

void MediaOfElement(TagKind kind, const TagAttributes& attributes, std::size_t key,
                    PlacedQueue& found) {
    switch (kind) {
        case TagKind::Picture:
            PictureOf(attributes, key, found);
            break;
        case TagKind::Video:
            IfPresent(attributes, kSrcAttribute, key, found);
            IfPresent(attributes, kPosterAttribute, key, found);
            break;
        case TagKind::Sound:
            IfPresent(attributes, kSrcAttribute, key, found);
            break;
        case TagKind::Object:
            IfPresent(attributes, kDataAttribute, key, found);
            break;
        default:
            break;
    }
    if (attributes.has(kStyleAttribute))
        UrlsOfStyle(attributes[kStyleAttribute], key, found);
}

void UrlsOfStyle(std::string_view style, std::size_t key, PlacedQueue& found) {
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

}  // namespace gw::harvest
