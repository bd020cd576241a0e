#include "harvest/NameFilter.h"

namespace gw::harvest {

NameFilter::NameFilter(const std::vector<std::string>& patterns,
                       const std::vector<std::string>& excludes) {
    for (const std::string& pattern : patterns)
        includes_.emplace_back(pattern);
    for (const std::string& pattern : excludes)
        excludes_.emplace_back(pattern);
}

bool NameFilter::MatchesAny(const std::vector<MatchPattern>& patterns, std::string_view name) {
    for (const MatchPattern& pattern : patterns)
        if (pattern.Matches(name))
            return true;
    return false;
}

}  // namespace gw::harvest
