#include "harvest/DistinctTexts.h"

#include <utility>

#include "harvest/AddressHash.h"

namespace gw::harvest {

std::uint32_t DistinctTexts::Insert(std::string_view text, std::uint64_t hash, bool& added) {
    const auto hashHigh = static_cast<std::uint32_t>(hash >> 32);
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = hash & mask;
    for (; slots_[slot].number != npos; slot = (slot + 1) & mask) {
        const Slot& held = slots_[slot];
        if (held.hashHigh == hashHigh && texts_[held.number] == text) {
            added = false;
            return held.number;
        }
    }
    added = true;
    const auto number = static_cast<std::uint32_t>(texts_.size());
    texts_.emplace_back(text);
    bytes_ += text.size();
    slots_[slot] = {hashHigh, number};
    if (texts_.size() * 2 > slots_.size())
        Grow();
    return number;
}

void DistinctTexts::Grow() {
    std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(slots_.size() * 2));
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& held : old) {
        if (held.number == npos)
            continue;
        std::size_t slot = HashAddress(texts_[held.number]) & mask;
        while (slots_[slot].number != npos)
            slot = (slot + 1) & mask;
        slots_[slot] = held;
    }
}

void DistinctTexts::Clear() {
    std::vector<std::string>().swap(texts_);
    slots_.assign(256, Slot{});
    bytes_ = 0;
}

}  // namespace gw::harvest
