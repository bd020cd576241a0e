#pragma once

// The search written step by step as the wizard's rules state it, positions counted from 1,
// with no attention to speed: the yardstick that the fast harvest must agree with. Standard
// library only, so that the fuzz target can use it too.
#include <string>
#include <vector>

namespace gw::harvest::literal {

// Only a-z change, as in the page copy the search compares against.
std::string Upper(std::string text);

bool Like(const std::string& name, const std::string& pattern);

bool ResolveLink(const std::string& span, const std::string& upperSpan, const std::string& pattern,
                 const std::string& fetchedAddress, std::string& entry);

// Every entry the walk appends, duplicates included, without a capacity.
std::vector<std::string> Walk(const std::string& page, const std::string& fetchedAddress,
                              const std::string& pattern);

void RemoveDuplicates(std::vector<std::string>& entries);

// Each entry once, the first of equal ones kept: what the found list holds when only
// addresses not already held are appended.
std::vector<std::string> FirstOfEach(const std::vector<std::string>& entries);

}  // namespace gw::harvest::literal
