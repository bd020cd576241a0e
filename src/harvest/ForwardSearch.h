#pragma once

#include <cstddef>
#include <cstring>
#include <limits>
#include <string_view>

namespace gw::harvest {

// The first position at or after a start that holds one byte, remembered: asking again from a
// start between the last start and the position found costs nothing. As long as the starts
// asked for never go back, the whole text is searched at most once.
class ForwardSearch {
  public:
    ForwardSearch(std::string_view text, char byte) : text_(text), byte_(byte) {}

    // 0-based position, or the text's length when the byte does not occur from `start` on.
    std::size_t From(std::size_t start) {
        if (start >= from_ && start <= found_)
            return found_;
        from_ = start;
        if (start >= text_.size())
            return found_ = text_.size();
        const void* hit = std::memchr(text_.data() + start, byte_, text_.size() - start);
        found_ = hit != nullptr
                     ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data())
                     : text_.size();
        return found_;
    }

  private:
    std::string_view text_;
    char byte_;
    std::size_t from_ = std::numeric_limits<std::size_t>::max();
    std::size_t found_ = 0;
};

}  // namespace gw::harvest
