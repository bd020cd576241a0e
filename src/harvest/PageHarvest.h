#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "harvest/ChecksumLinks.h"
#include "harvest/Harvest.h"
#include "harvest/LineRule.h"
#include "harvest/LinkScan.h"

namespace gw::harvest {

// The one pipeline from page to found list: the line rule, the anchor walk, link resolution
// and the found list, then duplicate removal; the page's checksum lists on the same walk. It
// takes the page in pieces of any size, as they arrive, and gives what the whole page gives.
class PageHarvest {
  public:
    // `fetchedAddress` is the address the page really came from (after redirects).
    PageHarvest(std::string_view pattern, std::string_view fetchedAddress,
                const HarvestProgress& progress = {});
    PageHarvest(const HarvestOptions& options, std::string_view fetchedAddress,
                const HarvestProgress& progress = {});
    PageHarvest(const PageHarvest&) = delete;
    PageHarvest& operator=(const PageHarvest&) = delete;

    // The page's bytes as they arrived; the line rule joins the lines.
    void AddBytes(std::string_view bytes);
    // Page text that the line rule has been applied to already.
    void AddText(std::string_view text);
    // The found list, duplicates removed, once the text ends with `lastText`; `lineBreaks`
    // are the positions in it where the line rule removed a line end.
    Harvest Finish(std::string_view lastText = {}, const std::vector<std::size_t>& lineBreaks = {});

  private:
    // The next stretch of `bytes` without line ends, which the media reading hears at once.
    std::string_view NextStretch(std::string_view& bytes, MediaMerge* media, std::size_t& position);
    void ToMedia(std::string_view text, const std::vector<std::size_t>& lineBreaks);
    // A whole text, its media reading on runBeside_'s thread beside its anchor walk.
    Harvest FinishBeside(std::string_view text, const std::vector<std::size_t>& lineBreaks);
    // The found list once the anchor walk ends with `lastText`.
    Harvest ListFound(std::string_view lastText);

    HarvestProgress progress_;
    std::function<void(const std::function<void()>&, const std::function<void()>&)> runBeside_;
    ScanProgress scanProgress_;
    LineEnds lineEnds_;
    std::string joined_;
    ChecksumLinks checksums_;
    LinkScan scan_;
    std::size_t received_ = 0;  // of the page text
};

}  // namespace gw::harvest
