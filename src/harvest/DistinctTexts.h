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
    // The text's number, or npos when it is not held; `hash` is its HashAddress.
    std::uint32_t Find(std::string_view text, std::uint64_t hash) const;
    // Asks the processor for the slot of a text of that hash, soon to be inserted: a dense
    // page's lookups go to scattered slots, and fetching a few at once overlaps their waits.
    void Prefetch(std::uint64_t hash) const {
        __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
    }
    std::string_view operator[](std::uint32_t number) const {
        return std::string_view(held_).substr(starts_[number],
                                              starts_[number + 1] - starts_[number]);
    }
    std::size_t size() const { return starts_.size() - 1; }
    std::size_t bytes() const { return held_.size(); }
    void Clear();

  private:
    struct Slot {
        std::uint32_t hashHigh = 0;
        std::uint32_t number = npos;
    };
    // Where the text is held, else the free slot where it would go.
    std::size_t SlotOf(std::string_view text, std::uint64_t hash) const;
    void Grow();

    // The texts one after another, each starting where starts_ says: a lookup reads one
    // place besides its slot.
    std::string held_;
    std::vector<std::size_t> starts_ = {0};
    std::vector<Slot> slots_ = std::vector<Slot>(256);
};

}  // namespace gw::harvest
