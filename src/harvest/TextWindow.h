#pragma once

#include <cstddef>
#include <string_view>

namespace gw::harvest {

// The stretch of the page text in memory at one time: its bytes, the position of the first of
// them in the whole text, and whether the text ends with them.
struct TextWindow {
    std::string_view text;
    std::size_t base = 0;
    bool last = false;

    std::size_t end() const { return base + text.size(); }
    // The text of positions [begin, end), all of them inside the window.
    std::string_view between(std::size_t begin, std::size_t end) const {
        return text.substr(begin - base, end - begin);
    }
};

// A link span longer than this yields no entry, the page whole or in pieces alike: no address
// is that long, and an anchor left open for good would otherwise hold the rest of the page.
inline constexpr std::size_t kMaxSpanLength = std::size_t{1} << 20;

// One link span: the address text is [begin, end) of the page text; `text` holds its bytes
// until the walk that gave it is asked for the next span.
struct LinkSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string_view text;
};

}  // namespace gw::harvest
