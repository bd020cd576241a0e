#include "settings/NameIndex.h"

#include <algorithm>

namespace gw::settings {
namespace {

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

// FNV-1a over the folded bytes, with the high half mixed into the low bits the table uses.
std::uint32_t NameIndex::hashOf(std::string_view name) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (char c : name)
        hash = (hash ^ static_cast<unsigned char>(lower(c))) * 0x100000001b3u;
    hash ^= hash >> 29;
    return static_cast<std::uint32_t>(hash * 0xbf58476d1ce4e5b9u >> 32);
}

void NameIndex::place(std::uint32_t hash, std::size_t position) {
    std::size_t at = hash & mask();
    while (slots_[at].position != 0)
        at = (at + 1) & mask();
    slots_[at] = {hash, static_cast<std::uint32_t>(position + 1)};
}

void NameIndex::add(std::size_t position, std::string_view name) {
    if ((count_ + 1) * 2 > slots_.size()) {
        const std::vector<Slot> old = std::move(slots_);
        slots_.assign(std::max<std::size_t>(16, old.size() * 2), Slot{});
        for (const Slot& slot : old)
            if (slot.position != 0)
                place(slot.hash, slot.position - 1);
    }
    place(hashOf(name), position);
    ++count_;
}

}  // namespace gw::settings
