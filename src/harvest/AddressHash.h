#pragma once

#include <bit>
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
// texts of one length that differ in one word always hash apart; the last step mixes every
// bit into the low ones that pick a slot and the high ones that pick a held bit. Cheaper than
// the library's string hash on addresses of a few dozen bytes, called once per link. A longer
// text, such as a whole tag, goes four words a step in four chains that do not wait on each
// other, joined so that one differing chain still sets the hash apart.
inline std::uint64_t HashAddress(std::string_view text) {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
    const auto mixed = [](std::uint64_t hash, std::uint64_t word) {
        hash = (hash ^ word) * kMultiplier;
        return hash ^ (hash >> 29);
    };
    std::uint64_t hash = text.size() * kMultiplier;
    std::size_t i = 0;
    if (text.size() >= 32) {
        std::uint64_t chains[4] = {hash, hash + 1, hash + 2, hash + 3};
        for (; i + 32 <= text.size(); i += 32)
            for (int chain = 0; chain < 4; ++chain)
                chains[chain] = mixed(chains[chain], AddressWord(text.data() + i + 8 * chain));
        hash = chains[0] ^ std::rotl(chains[1], 16) ^ std::rotl(chains[2], 32) ^
               std::rotl(chains[3], 48);
    }
    for (; i + 8 <= text.size(); i += 8)
        hash = mixed(hash, AddressWord(text.data() + i));
    if (i < text.size()) {
        if (text.size() >= 8) {
            // The last eight bytes, some of them mixed in already: the length is in the hash.
            hash = mixed(hash, AddressWord(text.data() + text.size() - 8));
        } else {
            std::uint64_t word = 0;
            for (; i < text.size(); ++i)
                word = word << 8 | static_cast<unsigned char>(text[i]);
            hash = mixed(hash, word);
        }
    }
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDULL;
    hash ^= hash >> 33;
    hash *= 0xC4CEB9FE1A85EC53ULL;
    return hash ^ (hash >> 33);
}

}  // namespace gw::harvest
