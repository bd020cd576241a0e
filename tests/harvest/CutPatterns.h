#pragma once

// The ways of cutting a page into pieces that the harvest, fed the pieces as they come, must
// give the whole page's list for. Standard library only, so that the fuzz target can use it too.
#include <cstdint>
#include <string>
#include <vector>

#include "harvest/Harvest.h"

namespace gw::harvest::cuts {

struct Cutting {
    std::string name;
    std::vector<std::size_t> cuts;  // where one piece ends and the next begins, rising
};

// Every byte a piece of its own; random cuts; and, for one anchor or other element chosen by
// `seed`, a single cut at each of its bytes in turn.
std::vector<Cutting> CuttingsOf(const std::string& page, std::uint32_t seed);

// The page's bytes handed to the harvest in the pieces between the cuts.
Harvest HarvestInPieces(const std::string& page, const std::vector<std::size_t>& cuts,
                        const std::string& fetchedAddress, const std::string& pattern);

// The page's bytes made page text, harvested whole.
Harvest HarvestWhole(const std::string& page, const std::string& fetchedAddress,
                     const std::string& pattern);

// The same two for a search's options.
Harvest HarvestInPieces(const std::string& page, const std::vector<std::size_t>& cuts,
                        const std::string& fetchedAddress, const HarvestOptions& options);
Harvest HarvestWhole(const std::string& page, const std::string& fetchedAddress,
                     const HarvestOptions& options);

// One pattern, with the media reading.
HarvestOptions WithMedia(const std::string& pattern);

bool SameHarvest(const Harvest& a, const Harvest& b);

}  // namespace gw::harvest::cuts
