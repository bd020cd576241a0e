#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace gw::harvest {

// The walk asks these questions millions of times for distances of a few dozen bytes, where a
// library call per question costs more than the scanning itself: they are inline, 16 bytes at a
// time with SSE2 (every x86-64 has it), 8 at a time in plain C++ elsewhere.

namespace scan_detail {

// Eight bytes at a time: the first position from `i` holding a or b, or the text's length.
inline std::size_t FindEitherByteByWords(std::string_view text, std::size_t i, char a, char b) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    const std::uint64_t wantA = kOnes * static_cast<unsigned char>(a);
    const std::uint64_t wantB = kOnes * static_cast<unsigned char>(b);
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= text.size(); i += 8) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, 8);
            const std::uint64_t xa = word ^ wantA;
            const std::uint64_t xb = word ^ wantB;
            // Marks zero bytes; marks above the first true one may be false, those below never.
            const std::uint64_t hits =
                ((xa - kOnes) & ~xa & kHighs) | ((xb - kOnes) & ~xb & kHighs);
            if (hits != 0)
                return i + static_cast<std::size_t>(std::countr_zero(hits)) / 8;
        }
    }
    for (; i < text.size(); ++i)
        if (text[i] == a || text[i] == b)
            return i;
    return text.size();
}

#if defined(__SSE2__)
inline __m128i Load16(const char* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

inline std::size_t FirstMarked(std::size_t i, int mask) {
    return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
}
#endif

}  // namespace scan_detail

// The first position at or after `from` holding byte a or byte b, or the text's length.
inline std::size_t FindEitherByte(std::string_view text, std::size_t from, char a, char b) {
    std::size_t i = from;
#if defined(__SSE2__)
    const std::size_t n = text.size();
    if (n >= 16) {
        const __m128i wantA = _mm_set1_epi8(a);
        const __m128i wantB = _mm_set1_epi8(b);
        const auto marks = [&](std::size_t at) {
            const __m128i bytes = scan_detail::Load16(text.data() + at);
            return _mm_movemask_epi8(
                _mm_or_si128(_mm_cmpeq_epi8(bytes, wantA), _mm_cmpeq_epi8(bytes, wantB)));
        };
        for (; i + 16 <= n; i += 16) {
            if (const int mask = marks(i); mask != 0)
                return scan_detail::FirstMarked(i, mask);
        }
        // The rest in one block that ends with the text, its bytes before i left out.
        if (i < n) {
            if (const int mask = marks(n - 16) >> (i - (n - 16)); mask != 0)
                return scan_detail::FirstMarked(i, mask);
        }
        return n;
    }
#endif
    return scan_detail::FindEitherByteByWords(text, i, a, b);
}

// The first position at or after `from` holding byte a, b or c, or the text's length.
inline std::size_t FindAnyOfThree(std::string_view text, std::size_t from, char a, char b, char c) {
    std::size_t i = from;
#if defined(__SSE2__)
    const std::size_t n = text.size();
    const __m128i wantA = _mm_set1_epi8(a);
    const __m128i wantB = _mm_set1_epi8(b);
    const __m128i wantC = _mm_set1_epi8(c);
    for (; i + 16 <= n; i += 16) {
        const __m128i bytes = scan_detail::Load16(text.data() + i);
        const int mask = _mm_movemask_epi8(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, wantA), _mm_cmpeq_epi8(bytes, wantB)),
                         _mm_cmpeq_epi8(bytes, wantC)));
        if (mask != 0)
            return scan_detail::FirstMarked(i, mask);
    }
#endif
    for (; i < text.size(); ++i)
        if (text[i] == a || text[i] == b || text[i] == c)
            return i;
    return text.size();
}

// The last position holding `byte`, or npos.
inline std::size_t FindLastByte(std::string_view text, char byte) {
    std::size_t end = text.size();
#if defined(__SSE2__)
    if (end >= 16) {
        const __m128i want = _mm_set1_epi8(byte);
        const auto marks = [&](std::size_t at) {
            return static_cast<unsigned>(
                _mm_movemask_epi8(_mm_cmpeq_epi8(scan_detail::Load16(text.data() + at), want)));
        };
        for (; end >= 16; end -= 16) {
            if (const unsigned mask = marks(end - 16); mask != 0)
                return end - 16 + static_cast<std::size_t>(std::bit_width(mask)) - 1;
        }
        // The first bytes in one block that starts with the text, its bytes from `end` left out.
        if (const unsigned mask = marks(0) & ((1u << end) - 1); mask != 0)
            return static_cast<std::size_t>(std::bit_width(mask)) - 1;
        return std::string_view::npos;
    }
#endif
    while (end > 0) {
        if (text[--end] == byte)
            return end;
    }
    return std::string_view::npos;
}

// True at an "=", and at a "<" followed by an "A" of either case and a blank: the only places
// where a walk already inside a tag can meet an address attribute or the start of an anchor.
inline bool IsTagMark(std::string_view text, std::size_t i) {
    if (text[i] == '=')
        return true;
    return text[i] == '<' && i + 2 < text.size() &&
           (static_cast<unsigned char>(text[i + 1]) | 0x20u) == 'a' && text[i + 2] == ' ';
}

// The first position in [from, end) where IsTagMark holds, or `end`; the letter and the blank
// after a "<" may lie beyond `end`. Inside a tag most "<" open some other tag and change
// nothing, so looking at the two bytes after each "<" here saves the walk a stop at every one.
inline std::size_t FindTagMark(std::string_view text, std::size_t from, std::size_t end) {
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i open = _mm_set1_epi8('<');
    const __m128i equals = _mm_set1_epi8('=');
    const __m128i lowerA = _mm_set1_epi8('a');
    const __m128i caseBit = _mm_set1_epi8(0x20);
    const __m128i blank = _mm_set1_epi8(' ');
    // The loads reach two bytes past each block, for the letter and the blank after a "<".
    for (; i < end && i + 18 <= text.size(); i += 16) {
        const char* at = text.data() + i;
        const __m128i bytes = scan_detail::Load16(at);
        const __m128i letters = _mm_or_si128(scan_detail::Load16(at + 1), caseBit);
        const __m128i anchors = _mm_and_si128(
            _mm_and_si128(_mm_cmpeq_epi8(bytes, open), _mm_cmpeq_epi8(letters, lowerA)),
            _mm_cmpeq_epi8(scan_detail::Load16(at + 2), blank));
        const int mask = _mm_movemask_epi8(_mm_or_si128(anchors, _mm_cmpeq_epi8(bytes, equals)));
        if (mask != 0)
            return std::min(scan_detail::FirstMarked(i, mask), end);
    }
#endif
    for (; i < end; ++i) {
        i = scan_detail::FindEitherByteByWords(text.substr(0, end), i, '<', '=');
        if (i == end || IsTagMark(text, i))
            return i;
    }
    return end;
}

}  // namespace gw::harvest
