#include "harvest/AnchorWalk.h"
#include "harvest/ChecksumLinks.h"
#include "harvest/FoundListBuilder.h"
#include "harvest/Harvest.h"
#include "harvest/LinkResolver.h"
#include "harvest/UpperCase.h"

namespace gw::harvest {

FoundLinks ScanAnchors(std::string_view pageText, std::string_view fetchedAddress,
                       std::string_view pattern, const ScanProgress& progress,
                       ChecksumLinks* checksums) {
    LinkResolver resolver(pattern, fetchedAddress);
    FoundListBuilder found;
    AnchorWalk walk(pageText, progress);
    std::string upperSpan;
    std::string entry;
    LinkSpan previous{1, 0};
    while (const std::optional<LinkSpan> span = walk.Next()) {
        // Several anchors before one far "=" all get the same span; it resolves the same way
        // each time, so only the first can change the list, and resolving a long span again
        // per anchor would make such a page quadratic.
        if (span->begin == previous.begin && span->end == previous.end)
            continue;
        previous = *span;
        const std::string_view link = pageText.substr(span->begin, span->end - span->begin);
        upperSpan.resize(link.size());
        UpperCaseInto(link.data(), link.size(), upperSpan.data());
        if (resolver.Resolve(link, upperSpan, entry))
            found.Add(entry);
        if (checksums)
            checksums->Add(link, upperSpan);
    }
    return found.Take();
}

}  // namespace gw::harvest
