#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

namespace gw::harvest {

// One named character reference of HTML: its name after the "&" (with its ";" where it has
// one) and the text it stands for, in UTF-8.
struct NamedReference {
    std::string_view name;
    std::string_view text;
};

// Every named reference, sorted by name byte by byte.
extern const NamedReference kNamedReferences[];
extern const std::size_t kNamedReferenceCount;

}  // namespace gw::harvest
