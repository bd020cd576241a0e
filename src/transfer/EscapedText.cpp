#include "transfer/EscapedText.h"

#include <algorithm>

namespace gw::transfer {
namespace {

// The length of the well-formed UTF-8 character at `at`, or 0 where none starts.
std::size_t Utf8Length(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    // The second byte's range shuts out overlong forms, surrogates and what lies past U+10FFFF.
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (length == 0 || text.size() - at < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    }
    return length;
}

void AppendEscaped(std::string& line, unsigned char byte) {
    static const char hex[] = "0123456789ABCDEF";
    line += '%';
    line += hex[byte >> 4];
    line += hex[byte & 0xF];
}

}  // namespace

std::string EscapeControls(const std::string& text, bool validUtf8Only) {
    std::string line;
    line.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const std::size_t length = Utf8Length(text, at);
        const std::size_t step = std::max<std::size_t>(length, 1);
        // U+0080 to U+009F are C1 controls as characters; a lone byte of that range is one to
        // a terminal that reads 8-bit controls (0x9B opens a control sequence). A byte of that
        // range inside another character is just part of it.
        const bool c1Character =
            length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[at + 1]) <= 0x9F;
        if (c1Character) {
            AppendEscaped(line, byte);
            AppendEscaped(line, static_cast<unsigned char>(text[at + 1]));
        } else if (byte < 0x20 || byte == 0x7F ||
                   (length == 0 && (byte <= 0x9F || validUtf8Only))) {
            AppendEscaped(line, byte);
        } else {
            line.append(text, at, step);
        }
        at += step;
    }
    return line;
}

}  // namespace gw::transfer
