#pragma once

#include <string>

namespace gw::transfer {

// `text` with every byte below 0x20, 0x7F and the C1 controls (a lone byte 0x80 to 0x9F, or
// U+0080 to U+009F in UTF-8, both bytes) as "%" and two upper-case hex digits each, so that a
// name or an address the page chose can neither end a line nor act as a control; with
// `validUtf8Only`, every byte that starts no well-formed UTF-8 character as well, since XML
// carries nothing else.
std::string EscapeControls(const std::string& text, bool validUtf8Only = false);

}  // namespace gw::transfer
