#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "harvest/AddressHash.h"
#include "harvest/Harvest.h"

namespace gw::harvest {

// Remembers 64-bit hashes only: counting the distinct addresses left out of a full list must
// not cost memory in proportion to their text. Open addressing, at most half full.
class HashCounter {
  public:
    // Counted at the latest by the next count(). Hashes wait in small batches: inserting a
    // batch in one loop lets the processor fetch the batch's scattered slots all at once
    // instead of waiting for each in turn.
    void Add(std::uint64_t hash) {
        pending_.push_back(hash);
        if (pending_.size() == kBatch)
            Flush();
    }
    std::size_t count() {
        Flush();
        return count_;
    }

  private:
    static constexpr std::size_t kBatch = 64;
    void Flush();
    void Insert(std::uint64_t hash);
    void Grow();
    std::vector<std::uint64_t> slots_;
    std::vector<std::uint64_t> pending_;
    std::size_t count_ = 0;
};

// The found list as a search fills it: each address once, in the order first found, up to
// kFoundCapacity; distinct addresses beyond that are only counted.
class FoundListBuilder {
  public:
    void Add(std::string_view entry) { Add(entry, HashAddress(entry)); }
    // The same, `hash` being the entry's HashAddress.
    void Add(std::string_view entry, std::uint64_t hash);
    // Asks the processor for what an entry of that hash, soon added, will look at.
    void Prefetch(std::uint64_t hash) const {
        __builtin_prefetch(&heldBits_[(hash >> (64 - kHeldBitsLog2)) / 64]);
        __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
    }
    FoundLinks Take();

  private:
    // Open addressing over the addresses by number (1-based, 0 = free), at most half full: one
    // probe usually settles whether a page's millionth link is already held. A slot keeps only
    // the hash's high half (its low bits chose the slot), so that the table of a full list
    // stays small enough for the cache while the page streams through it.
    struct Slot {
        std::uint32_t hashHigh = 0;
        std::uint32_t number = 0;
    };
    void Grow();

    std::vector<std::string> addresses_;
    static constexpr int kHeldBitsLog2 = 20;

    std::vector<Slot> slots_ = std::vector<Slot>(1024);
    std::vector<std::uint64_t> heldBits_ = std::vector<std::uint64_t>((1 << kHeldBitsLog2) / 64);
    HashCounter dropped_;
};

}  // namespace gw::harvest
