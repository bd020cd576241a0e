#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "harvest/ForwardSearch.h"
#include "harvest/Harvest.h"
#include "harvest/PendingAnchors.h"
#include "harvest/TextWindow.h"

namespace gw::harvest {

// The walk over the page text that finds anchor starts and cuts out their link spans, in page
// order, over the text as it arrives: each window of it goes as far as its bytes decide, and
// what it leaves open waits for the next. It jumps from one byte that can matter ("<"; inside a
// tag "=" and a "<" before "A ") to the next instead of stepping through every position, and
// gives the same spans as the step-by-step walk. Recognition is against the upper-cased page,
// but only the few bytes compared are upper-cased: the bytes searched for ("<", "=", ">", the
// double quote) are the same in both, and a whole upper-cased copy would cost the page's size in
// memory and a quarter of the time.
class AnchorWalk {
  public:
    // `progress`, when set, hears the position reached every 64 KiB and at the end.
    explicit AnchorWalk(const ScanProgress& progress);

    // The next span in page order; false when the window decides no more. The next window
    // starts at most at KeepFrom() and goes on past this one's end.
    bool Next(const TextWindow& window, LinkSpan& span);
    // The first position of the window that the walk may still need; its end when none.
    std::size_t KeepFrom(const TextWindow& window) const;

  private:
    // One remembered search per question asked, so that each question's starts never go back;
    // good for one window.
    struct Searches {
        explicit Searches(std::string_view text)
            : equals(text, '='),
              resumeClose(text, '>'),
              closeAfterEquals(text, '>'),
              quote(text, '"'),
              quoteAfterQuote(text, '"'),
              quoteAfterEither(text, '"'),
              closeAfterEither(text, '>') {}
        ForwardSearch equals, resumeClose, closeAfterEquals, quote, quoteAfterQuote,
            quoteAfterEither, closeAfterEither;
    };

    // A new window: the remembered searches start over, and what waits hears the new text.
    void Begin(const TextWindow& window);
    // 0-based positions within the window from here on.
    std::optional<std::size_t> NextAnchorStart(const TextWindow& window);
    // The span of the anchor starting at `start`, when the window decides it; sets resume_.
    bool FindSpan(std::size_t start, const TextWindow& window, LinkSpan& span);
    void End(const TextWindow& window);
    void Report(std::size_t position, std::size_t length);

    const ScanProgress& progress_;
    std::size_t nextReport_;
    std::size_t position_ = 0;  // first position not yet examined (in the whole text)
    std::size_t resume_ = 0;
    bool inTag_ = false;
    bool ended_ = false;
    // An anchor whose ">" has not come yet: the walk resumes after the first ">" from it on.
    std::size_t blockedAt_ = std::string_view::npos;
    std::size_t blockedScanned_ = 0;
    std::size_t fedTo_ = 0;  // the window end the open anchors have seen
    PendingAnchors pending_;

    const char* windowData_ = nullptr;
    std::size_t windowBase_ = 0;
    std::size_t windowSize_ = 0;
    std::optional<Searches> searches_;
};

}  // namespace gw::harvest
