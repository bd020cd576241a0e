#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace gw::harvest {

inline std::uint64_t AddressWord(const char* at) {
    std::uint64_t word;
    std::memcpy(&word, at, 8);
    return word;
}

// Eight bytes a step, each step reversible (xor, multiply by an odd number, xor-shift), so two
// addresses of one length that differ in one word always hash apart; the last step mixes every
// bit into the low ones that pick a slot and the high ones that pick a held bit. Cheaper than
// the library's string hash on addresses of a few dozen bytes, called once per link.
inline std::uint64_t HashAddress(std::string_view text) {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
    std::uint64_t hash = text.size() * kMultiplier;
    const auto mix = [&](std::uint64_t word) {
        hash = (hash ^ word) * kMultiplier;
        hash ^= hash >> 29;
    };
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8)
        mix(AddressWord(text.data() + i));
    if (i < text.size()) {
        if (text.size() >= 8) {
            // The last eight bytes, some of them mixed in already: the length is in the hash.
            mix(AddressWord(text.data() + text.size() - 8));
        } else {
            std::uint64_t word = 0;
            for (; i < text.size(); ++i)
                word = word << 8 | static_cast<unsigned char>(text[i]);
            mix(word);
        }
    }
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDULL;
    hash ^= hash >> 33;
    hash *= 0xC4CEB9FE1A85EC53ULL;
    return hash ^ (hash >> 33);
}

}  // namespace gw::harvest
