#pragma once

#include <string>

namespace gw::cli {

// The text for one line on a terminal: every byte below 0x20, 0x7F and the C1 controls (a lone
// byte 0x80 to 0x9F, or U+0080 to U+009F in UTF-8, both bytes) as "%" and two upper-case hex
// digits each, so that one line is one address and nothing a page chose reaches the terminal
// as a control.
std::string EscapeForLine(const std::string& text);

// `text` (escaped already) in at most `columns` terminal columns: when it is wider, its middle
// gives way to "...", so that both the start and the end of an address stay readable.
std::string FitColumns(const std::string& text, int columns);

}  // namespace gw::cli
