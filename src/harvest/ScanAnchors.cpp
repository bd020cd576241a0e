#include "harvest/Harvest.h"
#include "harvest/LinkScan.h"

namespace gw::harvest {

FoundLinks ScanAnchors(std::string_view pageText, std::string_view fetchedAddress,
                       std::string_view pattern, const ScanProgress& progress) {
    LinkScan scan(pattern, fetchedAddress, progress);
    return scan.Finish(pageText);
}

}  // namespace gw::harvest
