#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "harvest/ForwardSearch.h"
#include "harvest/Harvest.h"

namespace gw::harvest {

// One link span, 0-based: the address text is [begin, end) of the page.
struct LinkSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// The walk over the page that finds anchor starts and cuts out their link spans, in page order.
// It jumps from one byte that can matter ("<"; inside a tag "=" and a "<" before "A ") to the
// next instead of stepping through every position, and gives the same spans as the step-by-step
// walk. Recognition is against the upper-cased page, but only the few bytes compared are
// upper-cased: the bytes searched for ("<", "=", ">", the double quote) are the same in both, and a
// whole upper-cased copy would cost the page's size in memory and a quarter of the time.
class AnchorWalk {
  public:
    // `progress`, when set, hears the position reached every 64 KiB and at the end.
    AnchorWalk(std::string_view page, const ScanProgress& progress);

    std::optional<LinkSpan> Next();

  private:
    std::optional<std::size_t> NextAnchorStart();
    bool HrefFormAt(std::size_t i) const;
    // True when the upper-cased page holds `upperText` at position i.
    bool HasText(std::size_t i, std::string_view upperText) const;

    // The span of the anchor starting at `start`; sets resume_ to its resume position.
    std::optional<LinkSpan> FindSpan(std::size_t start);
    void Report(std::size_t position);

    std::string_view page_;
    const ScanProgress& progress_;
    std::size_t nextReport_ = 0;
    std::size_t position_ = 0;  // first position not yet examined
    std::size_t resume_ = 0;
    bool inTag_ = false;
    bool ended_ = false;

    // One remembered search per question asked, so that each question's starts never go back.
    ForwardSearch equals_;
    ForwardSearch resumeClose_;
    ForwardSearch closeAfterEquals_;
    ForwardSearch quote_;
    ForwardSearch quoteAfterQuote_;
    ForwardSearch quoteAfterEither_;
    ForwardSearch closeAfterEither_;
};

}  // namespace gw::harvest
