#pragma once

#include <optional>
#include <string_view>

namespace gw::harvest {

// The address of the largest candidate of a srcset value (references already decoded), split
// as the HTML standard splits it (an address may hold commas): a candidate with a width
// descriptor beats any without one, then the largest width, else the largest density (a bare
// address counts as 1x); a tie goes to the first. Nothing when the value gives no candidate.
std::optional<std::string_view> PickFromSrcset(std::string_view srcset);

}  // namespace gw::harvest
