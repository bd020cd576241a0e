#pragma once

#include <string>

namespace gw::retrieval {

// The page as one string: every CR is removed, and every LF that directly follows a CR;
// a lone LF stays. Works in place, in one pass.
void ApplyLineRule(std::string& bytes);

}  // namespace gw::retrieval
