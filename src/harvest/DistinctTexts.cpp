#include "harvest/DistinctTexts.h"

#include <utility>

#include "harvest/AddressHash.h"

namespace gw::harvest {

std::size_t DistinctTexts::SlotOf(std::string_view text, std::uint64_t hash) const {
    const auto hashHigh = static_cast<std::uint32_t>(hash >> 32);
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = hash & mask;
    for (; slots_[slot].number != npos; slot = (slot + 1) & mask) {
        const Slot& held = slots_[slot];
        if (held.hashHigh == hashHigh && (*this)[held.number] == text)
            break;
    }
    return slot;
}

std::uint32_t DistinctTexts::Insert(std::string_view text, std::uint64_t hash, bool& added) {
    const std::size_t slot = SlotOf(text, hash);
    added = slots_[slot].number == npos;
    if (!added)
        return slots_[slot].number;
    const auto number = static_cast<std::uint32_t>(size());
    held_ += text;
    starts_.push_back(held_.size());
    slots_[slot] = {static_cast<std::uint32_t>(hash >> 32), number};
    if (size() * 2 > slots_.size())
        Grow();
    return number;
}

std::uint32_t DistinctTexts::Find(std::string_view text, std::uint64_t hash) const {
    return slots_[SlotOf(text, hash)].number;
}

void DistinctTexts::Grow() {
    std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(slots_.size() * 2));
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& held : old) {
        if (held.number == npos)
            continue;
        std::size_t slot = HashAddress((*this)[held.number]) & mask;
        while (slots_[slot].number != npos)
            slot = (slot + 1) & mask;
        slots_[slot] = held;
    }
}

void DistinctTexts::Clear() {
    std::string().swap(held_);
    starts_.assign(1, 0);
    slots_.assign(256, Slot{});
}

}  // namespace gw::harvest
