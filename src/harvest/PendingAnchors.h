#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

#include "harvest/TextWindow.h"

namespace gw::harvest {

// What the span search of one anchor has seen of the text from the anchor's start on, as the
// text arrives: the first position each of its three rules asks for, once found.
struct SpanSearch {
    static constexpr std::size_t npos = std::string_view::npos;

    explicit SpanSearch(std::size_t start) : scanned(start) {}

    // Looks at the window from `scanned` on; with `untilSettled`, only until rule B has found
    // its span, which no later text can change.
    void Feed(const TextWindow& window, bool untilSettled);
    // Rule A decides the span as soon as it finds one, whatever follows.
    bool decided() const { return closeAfterEquals != npos; }
    bool settled() const { return quoteAfterQuote != npos; }
    // Whether the span that a rule's opening byte at `open` begins, closed at `close` or not
    // yet, can still be short enough to give an entry (kMaxSpanLength): once it cannot, its
    // text is needed no longer.
    bool fits(std::size_t open, std::size_t close) const {
        return (close != npos ? close : scanned) - open - 1 <= kMaxSpanLength;
    }

    std::size_t scanned;                                 // positions before it have been seen
    std::size_t equals = npos, closeAfterEquals = npos;  // rule A: "=", then ">"
    std::size_t quote = npos, quoteAfterQuote = npos;    // rule B: two double quotes
    std::size_t either = npos, endAfterEither = npos;    // rule C: '"' or "=", then '"' or ">"
};

// The anchors whose span the text so far leaves open (rule A has not found one, and text still
// to come may give it), in page order. The walk goes on past them, since where it resumes does
// not depend on the span; their spans are handed on in page order once decided.
//
// Only what an open span can still need is kept. Anchors with no double quote or "=" between
// them have the same span, so only the first of them is kept at all. Anchors with no "=" between
// them share rule A's span, so only the first of such a group (its leader) looks for it; the
// others look only for their rule B span, which is copied out once found, and are then done with
// the text: a page that never decides rule A costs memory for the spans it holds, not the text.
// Nor does a span that grows past kMaxSpanLength keep its text: it will give no entry.
class PendingAnchors {
  public:
    bool empty() const { return anchors_.empty(); }

    // An anchor at `start`, later than any held, whose span the window does not decide.
    void Add(std::size_t start, const TextWindow& window);
    // Shows every anchor whose span can still change the window up to its end.
    void Feed(const TextWindow& window);
    // True with the first anchor's span once it is decided, the others of its group left out
    // (their span is the same); on the last window, with whatever rules B and C give it, and
    // false with `noSpan` set when they give nothing. An anchor whose span is too long is
    // passed over for the next.
    bool TakeDecided(const TextWindow& window, LinkSpan& span, bool& noSpan);
    // The first position any held anchor may still need; npos when none.
    std::size_t NeedFrom() const;

  private:
    struct Anchor {
        SpanSearch search;
        bool leader = false;
        bool copied = false;
        std::string ruleB;  // rule B's span, once found, unless too long
    };
    Anchor& at(std::size_t number) { return anchors_[number - taken_]; }
    const Anchor& at(std::size_t number) const { return anchors_[number - taken_]; }
    std::size_t count() const { return taken_ + anchors_.size(); }
    void FeedOne(std::size_t number, const TextWindow& window);
    void PopFront();

    // Anchors are numbered from the first ever added, so that these stay valid as the front goes.
    std::deque<Anchor> anchors_;
    std::size_t taken_ = 0;
    std::size_t lastLeader_ = 0;
    std::size_t firstUnsettled_ = 0;  // anchors before it have their rule B span
    // Anchors before it need no text for rule C: they are settled, or their rule C span is too
    // long already. Both last, so it only moves on.
    mutable std::size_t firstNeedingC_ = 0;
    std::string delivered_;  // the text of the span last handed on from a copy
};

}  // namespace gw::harvest
