#include "harvest/PageHarvest.h"

namespace gw::harvest {

PageHarvest::PageHarvest(std::string_view pattern, std::string_view fetchedAddress,
                         const HarvestProgress& progress)
    : progress_(progress),
      scanProgress_(progress_ ? ScanProgress([this](std::size_t done, std::size_t total) {
          progress_(HarvestStage::Scanning, done, total);
      })
                              : ScanProgress()),
      checksums_(fetchedAddress),
      scan_(pattern, fetchedAddress, scanProgress_, &checksums_) {}

void PageHarvest::AddBytes(std::string_view bytes) {
    const std::string_view first = lineEnds_.Next(bytes);
    if (bytes.empty()) {
        scan_.Add(first);
        return;
    }
    // A piece with line ends goes on joined in one stretch, not a line at a time.
    joined_.assign(first);
    while (!bytes.empty())
        joined_ += lineEnds_.Next(bytes);
    scan_.Add(joined_);
}

Harvest PageHarvest::Finish(std::string_view lastText) {
    FoundLinks found = scan_.Finish(lastText);
    Harvest harvest;
    harvest.addresses = std::move(found.addresses);
    harvest.dropped = found.dropped;
    harvest.matched = harvest.addresses.size();
    if (harvest.matched > 0) {
        RemoveDuplicates(harvest.addresses, [this](std::size_t index, std::size_t count) {
            if (progress_)
                progress_(HarvestStage::RemovingDuplicates, index, count);
        });
    }
    harvest.checksumLists = checksums_.Take(harvest.addresses);
    return harvest;
}

Harvest HarvestPage(std::string_view pageText, std::string_view fetchedAddress,
                    std::string_view pattern, const HarvestProgress& progress) {
    PageHarvest harvest(pattern, fetchedAddress, progress);
    return harvest.Finish(pageText);
}

}  // namespace gw::harvest
