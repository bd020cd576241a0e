#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "harvest/AddressHash.h"

namespace gw::harvest {

// Texts each kept once, numbered from 0 in the order first given. Open addressing over the
// numbers, at most half full: a dense page asks about the same few thousand addresses a million
// times, and one probe in a small flat table answers most of them.
class DistinctTexts {
  public:
    static constexpr std::uint32_t npos = 0xFFFFFFFF;

    // The text's number, and whether it was new.
    std::uint32_t Insert(std::string_view text, bool& added) {
        return Insert(text, HashAddress(text), added);
    }
    // The same, `hash` being the text's HashAddress.
    std::uint32_t Insert(std::string_view text, std::uint64_t hash, bool& added);
    // Asks the processor for the slot of a text of that hash, soon to be inserted: a dense
    // page's lookups go to scattered slots, and fetching a few at once overlaps their waits.
    void Prefetch(std::uint64_t hash) const {
        __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
    }
    const std::string& operator[](std::uint32_t number) const { return texts_[number]; }
    std::size_t size() const { return texts_.size(); }
    std::size_t bytes() const { return bytes_; }
    void Clear();

  private:
    struct Slot {
        std::uint32_t hashHigh = 0;
        std::uint32_t number = npos;
    };
    void Grow();

    std::vector<std::string> texts_;
    std::vector<Slot> slots_ = std::vector<Slot>(256);
    std::size_t bytes_ = 0;
};

}  // namespace gw::harvest
