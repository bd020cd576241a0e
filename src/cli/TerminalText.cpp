#include "cli/TerminalText.h"

#include <wchar.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "transfer/EscapedText.h"

namespace gw::cli {
namespace {

struct Glyph {
    std::size_t bytes;
    int columns;
};

// Characters by the locale's character set with their widths. A byte that starts no valid
// character counts as one column: the terminal shows one replacement sign for it.
std::vector<Glyph> Glyphs(const std::string& text) {
    std::vector<Glyph> glyphs;
    std::mbstate_t state{};
    for (std::size_t at = 0; at < text.size();) {
        wchar_t wide = 0;
        std::size_t length = std::mbrtowc(&wide, text.data() + at, text.size() - at, &state);
        int columns = 1;
        if (length == 0 || length == static_cast<std::size_t>(-1) ||
            length == static_cast<std::size_t>(-2)) {
            length = 1;
            state = {};
        } else {
            columns = std::max(::wcwidth(wide), 0);
        }
        glyphs.push_back({length, columns});
        at += length;
    }
    return glyphs;
}

// How many bytes of `glyphs`, taken from the front (or the back), fill at most `columns`.
std::size_t BytesWithin(const std::vector<Glyph>& glyphs, int columns, bool fromBack) {
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const Glyph& glyph = glyphs[fromBack ? glyphs.size() - 1 - i : i];
        if (glyph.columns > columns)
            break;
        columns -= glyph.columns;
        bytes += glyph.bytes;
    }
    return bytes;
}

}  // namespace

std::string EscapeForLine(const std::string& text) {
    return transfer::EscapeControls(text);
}

std::string FitColumns(const std::string& text, int columns) {
    const std::vector<Glyph> glyphs = Glyphs(text);
    int width = 0;
    for (const Glyph& glyph : glyphs)
        width += glyph.columns;
    if (width <= columns)
        return text;
    const std::string dots = "...";
    if (columns <= static_cast<int>(dots.size()) + 1)
        return text.substr(0, BytesWithin(glyphs, std::max(columns, 0), false));
    const int kept = columns - static_cast<int>(dots.size());
    const std::size_t front = BytesWithin(glyphs, kept - kept / 2, false);
    const std::size_t back = BytesWithin(glyphs, kept / 2, true);
    return text.substr(0, front) + dots + text.substr(text.size() - back);
}

}  // namespace gw::cli
