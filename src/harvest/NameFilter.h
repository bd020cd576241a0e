#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "harvest/MatchPattern.h"

namespace gw::harvest {

// Which file names a search wants: those matching any of its patterns and none of its
// exclusions (all built by BuildMatchPattern, so upper case), compiled once per search.
class NameFilter {
  public:
    explicit NameFilter(std::string_view pattern) : NameFilter({std::string(pattern)}, {}) {}
    NameFilter(const std::vector<std::string>& patterns, const std::vector<std::string>& excludes);

    // `upperName` is the name upper-cased.
    bool Matches(std::string_view upperName) const {
        if (includes_.size() == 1 && excludes_.empty())
            return includes_.front().Matches(upperName);
        return MatchesAny(includes_, upperName) && !MatchesAny(excludes_, upperName);
    }

  private:
    static bool MatchesAny(const std::vector<MatchPattern>& patterns, std::string_view name);

    std::vector<MatchPattern> includes_;
    std::vector<MatchPattern> excludes_;
};

}  // namespace gw::harvest
