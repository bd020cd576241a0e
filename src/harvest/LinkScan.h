#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "harvest/AnchorWalk.h"
#include "harvest/ChecksumLinks.h"
#include "harvest/FoundListBuilder.h"
#include "harvest/Harvest.h"
#include "harvest/LinkResolver.h"
#include "harvest/MediaMerge.h"

namespace gw::harvest {

// From page text to found list, fed the text in pieces of any size: the found list is the one
// the whole text gives, however the text is cut. Of the text it has been given it keeps only
// what an anchor still open needs (a span may run to any later ">"), so its memory grows with
// the longest open span, never with the page.
class LinkScan {
  public:
    // `checksums`, when given, hears every span too.
    LinkScan(std::string_view pattern, std::string_view fetchedAddress,
             const ScanProgress& progress, ChecksumLinks* checksums = nullptr);
    // With `media`, the addresses of pictures, videos and sounds join the anchors' (fed the
    // text through media() first).
    LinkScan(const NameFilter& filter, std::string_view fetchedAddress,
             const ScanProgress& progress, ChecksumLinks* checksums, bool media);

    // The media reading, when asked for: it hears the text before Add() does.
    MediaMerge* media() { return media_ ? &*media_ : nullptr; }

    void Add(std::string_view text);
    // The found list, once the text ends with `lastText`.
    FoundLinks Finish(std::string_view lastText = {});

  private:
    void Walk(std::string_view text, bool last);
    void Walk(const TextWindow& window);
    void KeepFrom(const TextWindow& window, std::size_t position);

    LinkResolver resolver_;
    FoundListBuilder found_;
    AnchorWalk walk_;
    ChecksumLinks* checksums_;
    std::optional<MediaMerge> media_;
    std::string kept_;  // the text from keptBase_ on that the walk still needs
    std::size_t keptBase_ = 0;
    std::size_t received_ = 0;
    std::string upperSpan_;
    std::string entry_;
    LinkSpan previous_{1, 0, {}};
};

}  // namespace gw::harvest
