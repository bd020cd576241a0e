#pragma once

#include <string>
#include <string_view>
#include <vector>

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

// The page text of a whole page, in place, in one pass; with `removedAt`, also the positions
// of the text where a line end was removed.
void ApplyLineRule(std::string& bytes, std::vector<std::size_t>* removedAt = nullptr);

}  // namespace gw::harvest
