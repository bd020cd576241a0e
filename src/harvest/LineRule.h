#pragma once

#include <string>
#include <string_view>

namespace gw::harvest {

// The page text's line rule: every CR goes, and an LF right after a CR, also when the page
// arrives in pieces and the CR ends one piece; a lone LF stays.
class LineEnds {
  public:
    // The next stretch of `bytes` that holds no line end; `bytes` keeps what follows it.
    std::string_view Next(std::string_view& bytes);

  private:
    bool afterCr_ = false;
};

// The page text of a whole page, in place, in one pass.
void ApplyLineRule(std::string& bytes);

}  // namespace gw::harvest
