#pragma once

#include <string>
#include <string_view>

namespace gw::settings {

// A value is kept on one line of the file and round-trips exactly. Ordinary text, UTF-8
// included, stands for itself; the backslash, control bytes, blanks at either end and bytes
// that are not valid UTF-8 are written as escapes, so the file stays readable UTF-8 text:
//   \\  \n  \r  \t  \xHH
std::string EscapeValue(std::string_view value);

// The value written by EscapeValue. Raw blanks and tabs around the text are not part of the
// value, so a hand-written "key = value" reads as "value". Returns false for text that no
// value escapes to (an unknown or cut-off escape, a raw control byte).
bool UnescapeValue(std::string_view text, std::string& value);

}  // namespace gw::settings
