#include "harvest/PendingAnchors.h"

#include <algorithm>

#include "harvest/ByteScan.h"

namespace gw::harvest {

void SpanSearch::Feed(const TextWindow& window, bool untilSettled) {
    const std::string_view text = window.text;
    std::size_t i = scanned - window.base;
    while (i < text.size() && !decided() && !(untilSettled && settled())) {
        i = FindAnyOfThree(text, i, '"', '=', '>');
        if (i == text.size())
            break;
        const std::size_t p = window.base + i;
        const char c = text[i];
        if (either != npos && endAfterEither == npos && c != '=')
            endAfterEither = p;
        if (c == '>') {
            // The search stops once this is set, so it is the first ">" after the "=".
            if (equals != npos)
                closeAfterEquals = p;
        } else if (c == '=') {
            if (equals == npos)
                equals = p;
        } else if (quote == npos) {
            quote = p;
        } else if (quoteAfterQuote == npos) {
            quoteAfterQuote = p;
        }
        if (either == npos && c != '>')
            either = p;
        ++i;
    }
    scanned = window.base + i;
}

void PendingAnchors::Add(std::size_t start, const TextWindow& window) {
    if (!anchors_.empty()) {
        // The anchor before has seen the text up to here: with no double quote and no "="
        // since its start, every rule finds the same positions for both.
        const SpanSearch& previous = anchors_.back().search;
        if (previous.either == SpanSearch::npos || previous.either >= start)
            return;
    }
    // An "=" since the last leader's start ends its group: rule A looks from there anew.
    const bool leader =
        anchors_.empty() || lastLeader_ < taken_ || at(lastLeader_).search.equals < start;
    anchors_.push_back(Anchor{SpanSearch(start), leader, false, {}});
    const std::size_t number = count() - 1;
    if (leader)
        lastLeader_ = number;
    FeedOne(number, window);
    while (firstUnsettled_ < count() && at(firstUnsettled_).search.settled())
        ++firstUnsettled_;
}

void PendingAnchors::FeedOne(std::size_t number, const TextWindow& window) {
    Anchor& anchor = at(number);
    anchor.search.Feed(window, !anchor.leader);
    const SpanSearch& search = anchor.search;
    if (search.settled() && !anchor.copied) {
        if (search.fits(search.quote, search.quoteAfterQuote))
            anchor.ruleB = std::string(window.between(search.quote + 1, search.quoteAfterQuote));
        anchor.copied = true;
    }
}

void PendingAnchors::Feed(const TextWindow& window) {
    if (anchors_.empty())
        return;
    // Leaders, and the anchors still without their rule B span: the others have all they need.
    FeedOne(taken_, window);
    if (lastLeader_ >= taken_)
        FeedOne(lastLeader_, window);
    for (std::size_t number = std::max(firstUnsettled_, taken_); number < count(); ++number)
        FeedOne(number, window);
    while (firstUnsettled_ < count() && at(firstUnsettled_).search.settled())
        ++firstUnsettled_;
}

bool PendingAnchors::TakeDecided(const TextWindow& window, LinkSpan& span, bool& noSpan) {
    while (!anchors_.empty()) {
        const SpanSearch& search = anchors_.front().search;
        if (search.decided()) {
            const bool fits = search.fits(search.equals, search.closeAfterEquals);
            if (fits)
                span = LinkSpan{search.equals + 1, search.closeAfterEquals,
                                window.between(search.equals + 1, search.closeAfterEquals)};
            do {
                PopFront();
            } while (!anchors_.empty() && !anchors_.front().leader);
            if (fits)
                return true;
            continue;
        }
        if (!window.last)
            return false;
        // The text ended before rule A found a span: the anchor's own rules B and C decide.
        bool fits = true;
        if (search.settled()) {
            fits = search.fits(search.quote, search.quoteAfterQuote);
            delivered_ = std::move(anchors_.front().ruleB);
            span = LinkSpan{search.quote + 1, search.quoteAfterQuote, delivered_};
        } else if (search.endAfterEither != SpanSearch::npos) {
            fits = search.fits(search.either, search.endAfterEither);
            if (fits)
                span = LinkSpan{search.either + 1, search.endAfterEither,
                                window.between(search.either + 1, search.endAfterEither)};
        } else {
            noSpan = true;
            PopFront();
            return false;
        }
        PopFront();
        if (fits)
            return true;
    }
    return false;
}

std::size_t PendingAnchors::NeedFrom() const {
    std::size_t need = SpanSearch::npos;
    if (anchors_.empty())
        return need;
    const auto considerRuleA = [&need](const Anchor& anchor) {
        const SpanSearch& search = anchor.search;
        if (anchor.leader && search.equals != SpanSearch::npos &&
            search.fits(search.equals, search.closeAfterEquals))
            need = std::min(need, search.equals + 1);
    };
    // At most two groups are open at once (a second begins only past the first one's "=", and
    // the ">" that lets the walk on past the second's start decides the first).
    considerRuleA(anchors_.front());
    if (lastLeader_ >= taken_)
        considerRuleA(at(lastLeader_));
    // Every anchor still without its rule B span has seen the same one double quote, if any:
    // a second would have settled the first of them.
    if (firstUnsettled_ < count()) {
        const SpanSearch& search = at(std::max(firstUnsettled_, taken_)).search;
        if (search.quote != SpanSearch::npos && search.fits(search.quote, search.quoteAfterQuote))
            need = std::min(need, search.quote + 1);
    }
    // Rule C's start only grows from one anchor to the next.
    std::size_t& c = firstNeedingC_;
    c = std::max(c, taken_);
    while (c < count()) {
        const SpanSearch& search = at(c).search;
        if (search.settled() || (search.either != SpanSearch::npos &&
                                 !search.fits(search.either, search.endAfterEither))) {
            ++c;
            continue;
        }
        if (search.either != SpanSearch::npos)
            need = std::min(need, search.either + 1);
        break;
    }
    return need;
}

void PendingAnchors::PopFront() {
    anchors_.pop_front();
    ++taken_;
    firstUnsettled_ = std::max(firstUnsettled_, taken_);
}

}  // namespace gw::harvest
