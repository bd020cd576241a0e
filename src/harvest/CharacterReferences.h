#pragma once

#include <string>
#include <string_view>

namespace gw::harvest {

// Appends `value` to `out` with its character references decoded as a browser decodes them in
// an attribute value: every named one (the legacy ones without ";" too, except before "=" or a
// letter or digit, which leaves them as written), decimal and hexadecimal ones. Decoded
// characters are written in UTF-8.
void DecodeAttributeReferences(std::string_view value, std::string& out);

}  // namespace gw::harvest
