#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace gw::settings {

// Names match without regard to (ASCII) letter case.
bool SameName(std::string_view a, std::string_view b);

// Where each name of a list stands, found without regard to letter case in about one probe of
// a flat table: a settings file may hold many thousands of keys, and a walk along them for
// every key read would make reading the file quadratic.
class NameIndex {
  public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // The position of the name in the list, or npos; nameAt(position) reads the list.
    template <class NameAt>
    std::size_t find(std::string_view name, NameAt nameAt) const {
        if (slots_.empty())
            return npos;
        const std::uint32_t hash = hashOf(name);
        for (std::size_t at = hash & mask(); slots_[at].position != 0; at = (at + 1) & mask()) {
            const Slot& slot = slots_[at];
            if (slot.hash == hash && SameName(nameAt(slot.position - 1), name))
                return slot.position - 1;
        }
        return npos;
    }

    // Notes a name that is not in the index yet at its position in the list.
    void add(std::size_t position, std::string_view name);

  private:
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t position = 0;  // position + 1; 0 for a free slot
    };
    static std::uint32_t hashOf(std::string_view name);
    std::size_t mask() const { return slots_.size() - 1; }
    void place(std::uint32_t hash, std::size_t position);

    std::vector<Slot> slots_;  // a power of two long, at most half full
    std::size_t count_ = 0;
};

}  // namespace gw::settings
