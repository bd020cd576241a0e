#include "CutPatterns.h"

#include <algorithm>
#include <random>
#include <string_view>

#include "harvest/LineRule.h"
#include "harvest/PageHarvest.h"

namespace gw::harvest::cuts {

std::vector<Cutting> CuttingsOf(const std::string& page, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<Cutting> cuttings;

    Cutting everyByte{"every byte", {}};
    for (std::size_t at = 1; at < page.size(); ++at)
        everyByte.cuts.push_back(at);
    cuttings.push_back(std::move(everyByte));

    // Pieces of every size from one byte to a few thousand, as a network hands them over.
    Cutting randomCuts{"random cuts", {}};
    for (std::size_t at = 0;;) {
        at += 1 + random() % (1u << (random() % 13));
        if (at >= page.size())
            break;
        randomCuts.cuts.push_back(at);
    }
    cuttings.push_back(std::move(randomCuts));

    // One element, from its "<" to the byte after its ">", cut in turn at each of its bytes.
    std::vector<std::size_t> anchors;
    std::vector<std::size_t> others;
    for (std::size_t at = page.find('<'); at != std::string::npos; at = page.find('<', at + 1)) {
        if (at + 1 < page.size() && (page[at + 1] | 0x20) == 'a')
            anchors.push_back(at);
        else if (at + 1 < page.size() && (page[at + 1] | 0x20) >= 'b' &&
                 (page[at + 1] | 0x20) <= 'z')
            others.push_back(at);
    }
    // An anchor or, as often, another element, so that a page of both costs no more cuts.
    const bool anchor = !anchors.empty() && (others.empty() || random() % 2 == 0);
    if (const std::vector<std::size_t>& starts = anchor ? anchors : others; !starts.empty()) {
        const std::size_t start = starts[random() % starts.size()];
        const std::size_t close = std::min(page.find('>', start), page.size() - 1);
        for (std::size_t at = std::max<std::size_t>(start, 1); at <= close + 1; ++at)
            cuttings.push_back(
                {"element at " + std::to_string(start) + " cut at " + std::to_string(at), {at}});
    }
    return cuttings;
}

Harvest HarvestInPieces(const std::string& page, const std::vector<std::size_t>& cuts,
                        const std::string& fetchedAddress, const std::string& pattern) {
    HarvestOptions options;
    options.patterns = {pattern};
    return HarvestInPieces(page, cuts, fetchedAddress, options);
}

Harvest HarvestWhole(const std::string& page, const std::string& fetchedAddress,
                     const std::string& pattern) {
    std::string text = page;
    ApplyLineRule(text);
    return HarvestPage(text, fetchedAddress, pattern);
}

HarvestOptions WithMedia(const std::string& pattern) {
    HarvestOptions options;
    options.patterns = {pattern};
    options.media = true;
    return options;
}

Harvest HarvestInPieces(const std::string& page, const std::vector<std::size_t>& cuts,
                        const std::string& fetchedAddress, const HarvestOptions& options) {
    PageHarvest harvest(options, fetchedAddress);
    std::size_t from = 0;
    for (const std::size_t at : cuts) {
        harvest.AddBytes(std::string_view(page).substr(from, at - from));
        from = at;
    }
    harvest.AddBytes(std::string_view(page).substr(from));
    return harvest.Finish();
}

Harvest HarvestWhole(const std::string& page, const std::string& fetchedAddress,
                     const HarvestOptions& options) {
    std::string text = page;
    std::vector<std::size_t> lineBreaks;
    ApplyLineRule(text, &lineBreaks);
    return HarvestPage(text, fetchedAddress, options, lineBreaks);
}

bool SameHarvest(const Harvest& a, const Harvest& b) {
    return a.addresses == b.addresses && a.matched == b.matched && a.dropped == b.dropped &&
           a.checksumLists == b.checksumLists;
}

}  // namespace gw::harvest::cuts
