#include "harvest/FoundListBuilder.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "harvest/AddressHash.h"

namespace gw::harvest {

void HashCounter::Flush() {
    if (slots_.size() < (count_ + pending_.size()) * 2)
        Grow();
    for (const std::uint64_t hash : pending_)
        Insert(hash);
    pending_.clear();
}

void HashCounter::Insert(std::uint64_t hash) {
    // 0 marks a free slot.
    if (hash == 0)
        hash = 1;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        if (slots_[slot] == hash)
            return;
        if (slots_[slot] == 0) {
            slots_[slot] = hash;
            ++count_;
            return;
        }
    }
}

void HashCounter::Grow() {
    std::vector<std::uint64_t> old = std::exchange(slots_, {});
    std::size_t size = std::max<std::size_t>(old.size(), 1024);
    while (size < (count_ + pending_.size()) * 2)
        size *= 2;
    slots_.assign(size, 0);
    count_ = 0;
    for (const std::uint64_t hash : old)
        if (hash != 0)
            Insert(hash);
}

void FoundListBuilder::Add(std::string_view entry, std::uint64_t hash) {
    // Once the list is full most lookups are for addresses it does not hold; a bit per hash
    // answers them from a table small enough to stay in the cache.
    const std::uint64_t bit = hash >> (64 - kHeldBitsLog2);
    const std::uint64_t word = std::uint64_t{1} << (bit % 64);
    if (addresses_.size() >= kFoundCapacity && (heldBits_[bit / 64] & word) == 0) {
        dropped_.Add(hash);
        return;
    }
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = hash & mask;
    const auto hashHigh = static_cast<std::uint32_t>(hash >> 32);
    for (; slots_[slot].number != 0; slot = (slot + 1) & mask) {
        const Slot& held = slots_[slot];
        if (held.hashHigh == hashHigh && addresses_[held.number - 1] == entry)
            return;
    }
    if (addresses_.size() >= kFoundCapacity) {
        dropped_.Add(hash);
        return;
    }
    addresses_.emplace_back(entry);
    heldBits_[bit / 64] |= word;
    slots_[slot] = {hashHigh, static_cast<std::uint32_t>(addresses_.size())};
    if (addresses_.size() * 2 > slots_.size())
        Grow();
}

void FoundListBuilder::Grow() {
    std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(slots_.size() * 2));
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& held : old) {
        if (held.number == 0)
            continue;
        std::size_t slot = HashAddress(addresses_[held.number - 1]) & mask;
        while (slots_[slot].number != 0)
            slot = (slot + 1) & mask;
        slots_[slot] = held;
    }
}

FoundLinks FoundListBuilder::Take() {
    FoundLinks found;
    found.dropped = dropped_.count();
    found.addresses = std::move(addresses_);
    found.addresses.shrink_to_fit();
    return found;
}

}  // namespace gw::harvest
