#include "harvest/Harvest.h"
#include "harvest/MatchPattern.h"
#include "harvest/UpperCase.h"

namespace gw::harvest {

std::string BuildMatchPattern(std::string_view fileSpec) {
    if (!fileSpec.empty() && fileSpec.front() == '*')
        fileSpec.remove_prefix(1);
    if (!fileSpec.empty() && fileSpec.back() == '*')
        fileSpec.remove_suffix(1);
    std::string pattern;
    pattern.reserve(fileSpec.size() + 2);
    for (const char c : fileSpec)
        pattern += UpperAscii(c);
    if (pattern.empty() || pattern.front() != '*')
        pattern.insert(pattern.begin(), '*');
    if (pattern.back() != '*')
        pattern += '*';
    return pattern;
}

bool PatternIsValid(std::string_view pattern) {
    for (std::size_t p = 0; p < pattern.size(); ++p) {
        if (pattern[p] != '[')
            continue;
        p = pattern.find(']', p + 1);
        if (p == std::string_view::npos)
            return false;
    }
    return true;
}

bool WildcardMatch(std::string_view name, std::string_view pattern) {
    return MatchPattern(pattern).Matches(name);
}

}  // namespace gw::harvest
