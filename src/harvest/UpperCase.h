#pragma once

#include <cstddef>

namespace gw::harvest {

// Only a-z change: page bytes stay bytes, so the copy keeps both the length and the meaning of
// every position, whatever character set the page was written in.
inline char UpperAscii(char c) {
    const unsigned byte = static_cast<unsigned char>(c);
    return static_cast<char>(byte - (byte - unsigned{'a'} < 26u ? 32u : 0u));
}

// Writes the upper-cased copy of `size` bytes of `text` to `out`.
void UpperCaseInto(const char* text, std::size_t size, char* out);

}  // namespace gw::harvest
