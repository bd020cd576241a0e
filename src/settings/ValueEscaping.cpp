#include "settings/ValueEscaping.h"

namespace gw::settings {
namespace {

bool continuation(std::string_view text, std::size_t at, unsigned char low = 0x80,
                  unsigned char high = 0xBF) {
    if (at >= text.size())
        return false;
    const auto byte = static_cast<unsigned char>(text[at]);
    return byte >= low && byte <= high;
}

// Length of the well-formed UTF-8 sequence of two or more bytes that starts at `at`, or 0.
// Overlong forms, surrogates and code points past U+10FFFF are not well formed.
std::size_t utf8Sequence(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead >= 0xC2 && lead <= 0xDF)
        return continuation(text, at + 1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        return continuation(text, at + 1, low, high) && continuation(text, at + 2) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return continuation(text, at + 1, low, high) && continuation(text, at + 2) &&
                       continuation(text, at + 3)
                   ? 4
                   : 0;
    }
    return 0;
}

void appendHexEscape(std::string& out, unsigned char byte) {
    static const char digits[] = "0123456789ABCDEF";
    out += "\\x";
    out += digits[byte >> 4];
    out += digits[byte & 0xF];
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string EscapeValue(std::string_view value) {
    const auto first = value.find_first_not_of(' ');
    const auto last = value.find_last_not_of(' ');
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto byte = static_cast<unsigned char>(value[i]);
        if (byte >= 0x80) {
            if (const std::size_t length = utf8Sequence(value, i)) {
                out.append(value, i, length);
                i += length - 1;
            } else {
                appendHexEscape(out, byte);
            }
        } else if (byte == '\\') {
            out += "\\\\";
        } else if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\r') {
            out += "\\r";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F ||
                   (byte == ' ' && (first == std::string_view::npos || i < first || i > last))) {
            appendHexEscape(out, byte);
        } else {
            out += value[i];
        }
    }
    return out;
}

bool UnescapeValue(std::string_view text, std::string& value) {
    const auto first = text.find_first_not_of(" \t");
    text = first == std::string_view::npos
               ? std::string_view{}
               : text.substr(first, text.find_last_not_of(" \t") - first + 1);
    value.clear();
    value.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte != '\\') {
            // Plain text goes in a run at a time: most values hold no escape at all.
            std::size_t run = i;
            for (; run < text.size() && text[run] != '\\'; ++run) {
                const auto plain = static_cast<unsigned char>(text[run]);
                if ((plain < 0x20 && plain != '\t') || plain == 0x7F)
                    return false;
            }
            value.append(text, i, run - i);
            i = run - 1;
            continue;
        }
        if (++i == text.size())
            return false;
        switch (text[i]) {
            case '\\':
                value += '\\';
                break;
            case 'n':
                value += '\n';
                break;
            case 'r':
                value += '\r';
                break;
            case 't':
                value += '\t';
                break;
            case 'x': {
                const int high = i + 1 < text.size() ? hexDigit(text[i + 1]) : -1;
                const int low = i + 2 < text.size() ? hexDigit(text[i + 2]) : -1;
                if (high < 0 || low < 0)
                    return false;
                value += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default:
                return false;
        }
    }
    return true;
}

}  // namespace gw::settings
