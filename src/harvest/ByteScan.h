#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace gw::harvest {

// The first position at or after `from` holding byte a or byte b, or the text's length.
// Eight bytes at a time in plain C++: the walk asks this millions of times for distances of a
// few dozen bytes, where a library call per question costs more than the scanning itself.
inline std::size_t FindEitherByte(std::string_view text, std::size_t from, char a, char b) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    const std::uint64_t wantA = kOnes * static_cast<unsigned char>(a);
    const std::uint64_t wantB = kOnes * static_cast<unsigned char>(b);
    std::size_t i = from;
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

}  // namespace gw::harvest
