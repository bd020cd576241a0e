// Temporary stub, replaced by the harvest implementation.
#include "harvest/Harvest.h"
namespace gw::harvest {
std::string BuildMatchPattern(std::string_view) { return "*"; }
bool PatternIsValid(std::string_view) { return true; }
bool WildcardMatch(std::string_view, std::string_view) { return false; }
bool ResolveLink(std::string_view, std::string_view, std::string_view, std::string_view, std::string&) { return false; }
FoundLinks ScanAnchors(std::string_view, std::string_view, std::string_view, const ScanProgress&) { return {}; }
void RemoveDuplicates(std::vector<std::string>&, const RemovalProgress&) {}
}
