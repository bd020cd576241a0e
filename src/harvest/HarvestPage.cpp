#include "harvest/ChecksumLinks.h"
#include "harvest/Harvest.h"

namespace gw::harvest {

Harvest HarvestPage(std::string_view pageText, std::string_view fetchedAddress,
                    std::string_view pattern, const HarvestProgress& progress) {
    const auto report = [&](HarvestStage stage) {
        return [&progress, stage](std::size_t done, std::size_t total) {
            if (progress)
                progress(stage, done, total);
        };
    };
    ChecksumLinks checksums(fetchedAddress);
    FoundLinks found =
        ScanAnchors(pageText, fetchedAddress, pattern, report(HarvestStage::Scanning), &checksums);
    Harvest harvest;
    harvest.addresses = std::move(found.addresses);
    harvest.dropped = found.dropped;
    harvest.matched = harvest.addresses.size();
    if (harvest.matched > 0)
        RemoveDuplicates(harvest.addresses, report(HarvestStage::RemovingDuplicates));
    harvest.checksumLists = checksums.Take(harvest.addresses);
    return harvest;
}

}  // namespace gw::harvest
