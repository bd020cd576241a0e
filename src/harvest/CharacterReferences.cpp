#include "harvest/CharacterReferences.h"

#include <algorithm>
#include <cstdint>

#include "harvest/NamedReferences.h"

namespace gw::harvest {
namespace {

// The longest name in the table, ";" included.
constexpr std::size_t kLongestName = 32;

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}

void AppendUtf8(std::uint32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// A reference to 0x80..0x9F means the windows-1252 character pages of old meant by it; 0 marks
// the five codes that stay as they are.
constexpr std::uint16_t kWindows1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::uint32_t CharacterForNumber(std::uint64_t number) {
    if (number == 0 || number > 0x10FFFF || (number >= 0xD800 && number <= 0xDFFF))
        return 0xFFFD;
    if (number >= 0x80 && number <= 0x9F && kWindows1252[number - 0x80] != 0)
        return kWindows1252[number - 0x80];
    return static_cast<std::uint32_t>(number);
}

// At `text`, just after "&#": the length taken from there, 0 when no digit follows.
std::size_t DecodeNumber(std::string_view text, std::string& out) {
    const bool hex = !text.empty() && (text[0] | 0x20) == 'x';
    std::size_t i = hex ? 1 : 0;
    const std::size_t first = i;
    std::uint64_t number = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f') {
            digit = (c | 0x20) - 'a' + 10;
        } else {
            break;
        }
        // Past the last character it stays past it, however many digits follow.
        number = std::min<std::uint64_t>(number * (hex ? 16 : 10) + digit, 0x110000);
    }
    if (i == first)
        return 0;
    if (i < text.size() && text[i] == ';')
        ++i;
    AppendUtf8(CharacterForNumber(number), out);
    return i;
}

// The table's entry for exactly `name`, or nullptr.
const NamedReference* FindName(std::string_view name) {
    const NamedReference* end = kNamedReferences + kNamedReferenceCount;
    const NamedReference* at = std::lower_bound(
        kNamedReferences, end, name,
        [](const NamedReference& entry, std::string_view key) { return entry.name < key; });
    return at != end && at->name == name ? at : nullptr;
}

// At `text`, just after "&": the length of the name taken from there, 0 when none is.
std::size_t DecodeName(std::string_view text, std::string& out) {
    std::size_t run = 0;
    while (run < text.size() && run < kLongestName && IsAsciiAlnum(text[run]))
        ++run;
    if (run < text.size() && run < kLongestName && text[run] == ';')
        ++run;
    for (std::size_t length = run; length > 0; --length) {
        const NamedReference* entry = FindName(text.substr(0, length));
        if (entry == nullptr)
            continue;
        // In an attribute, "&copy=1" or "&copyx" is taken as written: old pages put such
        // names in query strings without meaning a reference.
        if (entry->name.back() != ';' && length < text.size() &&
            (text[length] == '=' || IsAsciiAlnum(text[length])))
            return 0;
        out += entry->text;
        return length;
    }
    return 0;
}

}  // namespace

void DecodeAttributeReferences(std::string_view value, std::string& out) {
    for (std::size_t i = 0; i < value.size();) {
        const std::size_t amp = value.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(value.substr(i));
            return;
        }
        out.append(value.substr(i, amp - i));
        const std::string_view rest = value.substr(amp + 1);
        const std::size_t taken = !rest.empty() && rest[0] == '#'
                                      ? DecodeNumber(rest.substr(1), out)
                                      : DecodeName(rest, out);
        if (taken == 0) {
            out += '&';
            i = amp + 1;
        } else {
            i = amp + 1 + taken + (rest[0] == '#' ? 1 : 0);
        }
    }
}

}  // namespace gw::harvest
