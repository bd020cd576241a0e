// Fuzz target for the harvest: arbitrary pages, file patterns and page addresses must neither
// crash nor trip a sanitizer, must give what the step-by-step rules give, and must give the same
// in pieces as whole, however the page is cut, with the media reading too.
// Input: one byte for the file pattern's length, one for the address's, the pattern,
// the address, then the page. Built and run by tests/fuzz/build-and-run.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "CutPatterns.h"
#include "LiteralHarvest.h"
#include "harvest/Harvest.h"

namespace {

void require(bool condition, const char* what, const std::string& page) {
    if (condition)
        return;
    std::fprintf(stderr, "harvest differs from the step-by-step rules: %s\npage: %s\n", what,
                 page.c_str());
    std::abort();
}

std::string take(const std::uint8_t*& data, std::size_t& size, std::size_t length) {
    length = std::min(length, size);
    std::string text(reinterpret_cast<const char*>(data), length);
    data += length;
    size -= length;
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::size_t fileSpecLength = data[0] % 17;
    const std::size_t addressLength = data[1] % 41;
    data += 2;
    size -= 2;
    const std::string fileSpec = take(data, size, fileSpecLength);
    const std::string address = take(data, size, addressLength);
    const std::string page = take(data, size, size);

    const std::string pattern = gw::harvest::BuildMatchPattern(fileSpec);
    const std::string name = gw::harvest::literal::Upper(page.substr(0, 48));
    require(gw::harvest::WildcardMatch(name, pattern) == gw::harvest::literal::Like(name, pattern),
            "wildcard match", page);

    const std::string span = page.substr(0, 300);
    std::string entry;
    std::string literalEntry;
    const bool resolved =
        gw::harvest::ResolveLink(span, gw::harvest::literal::Upper(span), pattern, address, entry);
    const bool literalResolved = gw::harvest::literal::ResolveLink(
        span, gw::harvest::literal::Upper(span), pattern, address, literalEntry);
    require(resolved == literalResolved && (!resolved || entry == literalEntry), "resolve link",
            page);

    gw::harvest::FoundLinks found = gw::harvest::ScanAnchors(page, address, pattern);
    std::vector<std::string> appended = gw::harvest::literal::Walk(page, address, pattern);
    require(found.addresses == gw::harvest::literal::FirstOfEach(appended), "found list", page);
    gw::harvest::RemoveDuplicates(found.addresses);
    gw::harvest::literal::RemoveDuplicates(appended);
    require(found.addresses == appended, "duplicate removal", page);

    namespace cuts = gw::harvest::cuts;
    // Anchors only, and with the media reading.
    for (const bool media : {false, true}) {
        gw::harvest::HarvestOptions options = cuts::WithMedia(pattern);
        options.media = media;
        const gw::harvest::Harvest whole = cuts::HarvestWhole(page, address, options);
        for (const cuts::Cutting& cutting :
             cuts::CuttingsOf(page, static_cast<std::uint32_t>(size))) {
            require(cuts::SameHarvest(cuts::HarvestInPieces(page, cutting.cuts, address, options),
                                      whole),
                    cutting.name.c_str(), page);
        }
    }
    return 0;
}
