#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "harvest/AddressHash.h"

namespace gw::harvest {

// Addresses waiting in page order, each with its place (a key that orders it among the others),
// their texts kept end to end in one buffer: a dense page queues a million of them, and a
// string each would cost the heap a call per address.
class PlacedQueue {
  public:
    void push(std::size_t key, std::string_view text) { push(key, text, HashAddress(text)); }
    void push(std::size_t key, std::string_view text, std::uint64_t hash) {
        entries_.push_back({key, dropped_ + text_.size(), text.size(), hash});
        text_.append(text);
    }
    bool empty() const { return head_ == entries_.size(); }
    std::size_t size() const { return entries_.size() - head_; }
    std::size_t frontKey() const { return entries_[head_].key; }
    // The text's HashAddress, worked out once as it came.
    std::uint64_t frontHash() const { return entries_[head_].hash; }
    // That of the text `ahead` places behind the front, or 0 past the last.
    std::uint64_t hashAhead(std::size_t ahead) const {
        return head_ + ahead < entries_.size() ? entries_[head_ + ahead].hash : 0;
    }
    std::string_view front() const { return textAhead(0); }
    // The text `ahead` places behind the front, which must be there.
    std::string_view textAhead(std::size_t ahead) const {
        const Entry& entry = entries_[head_ + ahead];
        return std::string_view(text_).substr(entry.offset - dropped_, entry.length);
    }
    void pop() {
        if (++head_ < entries_.size()) {
            // Past half of it taken, the taken part goes, so the buffers hold what waits.
            if (head_ * 2 > entries_.size() && head_ >= kCompactAfter)
                Compact();
            return;
        }
        entries_.clear();
        text_.clear();
        head_ = 0;
        dropped_ = 0;
    }

  private:
    static constexpr std::size_t kCompactAfter = 4096;
    struct Entry {
        std::size_t key;
        std::size_t offset;  // counted from the first text ever pushed since the queue was empty
        std::size_t length;
        std::uint64_t hash;
    };
    void Compact() {
        const std::size_t from = entries_[head_].offset - dropped_;
        text_.erase(0, from);
        dropped_ += from;
        entries_.erase(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(head_));
        head_ = 0;
    }

    std::vector<Entry> entries_;
    std::string text_;
    std::size_t head_ = 0;
    std::size_t dropped_ = 0;  // bytes erased from the front of text_
};

}  // namespace gw::harvest
