#include "harvest/SrcsetPick.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace gw::harvest {
namespace {

// What a byte is to the split, one bit each: the split asks it of every byte of the value.
enum ByteKind : std::uint8_t { kOther = 0, kBlank = 1, kComma = 2, kOpening = 4 };

constexpr std::array<std::uint8_t, 256> kByteKinds = [] {
    std::array<std::uint8_t, 256> kinds{};
    for (const char c : {' ', '\t', '\n', '\f', '\r'})
        kinds[static_cast<unsigned char>(c)] = kBlank;
    kinds[','] = kComma;
    kinds['('] = kOpening;
    return kinds;
}();

bool Is(char c, std::uint8_t kinds) {
    return (kByteKinds[static_cast<unsigned char>(c)] & kinds) != 0;
}

bool IsBlank(char c) {
    return Is(c, kBlank);
}

bool AllDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// "1", "-1.5", ".5", "2e1": the standard's valid floating-point number.
bool IsValidFloat(std::string_view text) {
    std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    const std::size_t intStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    bool digits = i > intStart;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fracStart = ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        if (i == fracStart)
            return false;
        digits = true;
    }
    if (!digits)
        return false;
    if (i < text.size() && (text[i] | 0x20) == 'e') {
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            ++i;
        const std::size_t expStart = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        if (i == expStart)
            return false;
    }
    return i == text.size();
}

struct Candidate {
    std::string_view address;
    bool hasWidth = false;
    double size = 1;  // the width, or the density
};

double NumberOf(std::string_view text) {
    // Most descriptors are a few digits, exact in a double without the general parser.
    if (text.size() <= 15 && AllDigits(text)) {
        std::uint64_t whole = 0;
        for (const char c : text)
            whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
        return static_cast<double>(whole);
    }
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Reads one descriptor into what the candidate has so far; false when it makes the candidate
// an error.
bool ReadDescriptor(std::string_view descriptor, Candidate& candidate, bool& density,
                    bool& height) {
    const char kind = descriptor.back();
    const std::string_view number = descriptor.substr(0, descriptor.size() - 1);
    if (kind == 'w') {
        if (candidate.hasWidth || density || !AllDigits(number))
            return false;
        candidate.size = NumberOf(number);
        candidate.hasWidth = candidate.size > 0;
        return candidate.hasWidth;
    }
    if (kind == 'x') {
        if (candidate.hasWidth || density || height || !IsValidFloat(number))
            return false;
        candidate.size = NumberOf(number);
        density = true;
        return candidate.size >= 0;
    }
    if (kind == 'h') {
        if (height || density || !AllDigits(number) || NumberOf(number) <= 0)
            return false;
        height = true;
        return true;
    }
    return false;
}

// Reads the descriptors after an address, up to the comma that ends the candidate
// (parentheses hide commas), as the standard does; `i` is left after that comma. False when
// they make the candidate an error.
bool ReadDescriptors(std::string_view text, std::size_t& i, Candidate& candidate) {
    const std::size_t n = text.size();
    bool density = false, height = false, error = false;
    while (i < n) {
        while (i < n && IsBlank(text[i]))
            ++i;
        if (i == n)
            break;
        if (text[i] == ',') {
            ++i;
            break;
        }
        const std::size_t start = i;
        for (;;) {
            while (i < n && !Is(text[i], kBlank | kComma | kOpening))
                ++i;
            if (i == n || text[i] != '(')
                break;
            const std::size_t close = text.find(')', i + 1);
            i = close == std::string_view::npos ? n : close + 1;
        }
        if (!error)
            error = !ReadDescriptor(text.substr(start, i - start), candidate, density, height);
    }
    return !error && (!height || candidate.hasWidth);
}

}  // namespace

std::optional<std::string_view> PickFromSrcset(std::string_view srcset) {
    std::optional<Candidate> best;
    std::size_t i = 0;
    while (i < srcset.size()) {
        while (i < srcset.size() && Is(srcset[i], kBlank | kComma))
            ++i;
        if (i == srcset.size())
            break;
        const std::size_t start = i;
        while (i < srcset.size() && !IsBlank(srcset[i]))
            ++i;
        Candidate candidate;
        candidate.address = srcset.substr(start, i - start);
        if (candidate.address.back() == ',') {
            // "a.png," ends the candidate: its commas go and no descriptor follows.
            while (!candidate.address.empty() && candidate.address.back() == ',')
                candidate.address.remove_suffix(1);
        } else if (!ReadDescriptors(srcset, i, candidate)) {
            continue;
        }
        if (!best || (candidate.hasWidth && !best->hasWidth) ||
            (candidate.hasWidth == best->hasWidth && candidate.size > best->size))
            best = candidate;
    }
    if (!best)
        return std::nullopt;
    return best->address;
}

}  // namespace gw::harvest
