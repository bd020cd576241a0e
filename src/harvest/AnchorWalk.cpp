#include "harvest/AnchorWalk.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "harvest/ByteScan.h"
#include "harvest/UpperCase.h"

namespace gw::harvest {
namespace {

constexpr std::size_t npos = std::string_view::npos;

// Often enough for a progress bar, rarely enough that the callback costs nothing measurable.
constexpr std::size_t kReportEvery = 64 * 1024;

// How far past an anchor's start its address and closing ">" are looked for in one pass.
constexpr std::size_t kNearby = 4096;

// What the walk reads past a byte it stops at: "<A HREF" from its "<", an address attribute
// up to the double quote two bytes after its "=". In a window that the text goes on after, a
// stop this close to its end waits for the next window.
constexpr std::size_t kLookahead = 7;

// The H of an address attribute stands at most five bytes before its "=" ("HREF =").
constexpr std::size_t kHrefBeforeEquals = 5;

// True when the upper-cased text holds `upperText` at position i.
bool HasText(std::string_view text, std::size_t i, std::string_view upperText) {
    const std::size_t size = upperText.size();
    if (size > text.size() - i)
        return false;
    if constexpr (std::endian::native == std::endian::little) {
        // All at once: a letter of either case, with its case bit set, is the lower-case one;
        // every other byte must be exactly itself.
        if (size <= 8 && text.size() - i >= 8) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, 8);
            std::uint64_t want = 0;
            std::uint64_t caseBits = 0;
            for (std::size_t k = 0; k < size; ++k) {
                const bool letter = upperText[k] >= 'A' && upperText[k] <= 'Z';
                want |=
                    std::uint64_t{static_cast<unsigned char>(upperText[k]) | (letter ? 0x20u : 0u)}
                    << (8 * k);
                caseBits |= std::uint64_t{letter ? 0x20u : 0u} << (8 * k);
            }
            const std::uint64_t used =
                size == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * size)) - 1;
            return ((word | caseBits) & used) == want;
        }
    }
    for (std::size_t k = 0; k < size; ++k)
        if (UpperAscii(text[i + k]) != upperText[k])
            return false;
    return true;
}

bool HrefFormAt(std::string_view text, std::size_t i) {
    return HasText(text, i, "HREF= \"") || HasText(text, i, "HREF =\"") ||
           HasText(text, i, "HREF=\"");
}

}  // namespace

AnchorWalk::AnchorWalk(const ScanProgress& progress)
    : progress_(progress), nextReport_(kReportEvery) {}

void AnchorWalk::Begin(const TextWindow& window) {
    windowData_ = window.text.data();
    windowBase_ = window.base;
    windowSize_ = window.text.size();
    searches_.emplace(window.text);
    if (fedTo_ >= window.end())
        return;
    fedTo_ = window.end();
    pending_.Feed(window);
    if (blockedAt_ != npos) {
        const std::size_t from = std::max({blockedScanned_, blockedAt_, window.base}) - window.base;
        const std::size_t close = FindEitherByte(window.text, from, '>', '>');
        if (close < window.text.size()) {
            // The ">" closes the anchor and leaves the tag.
            blockedAt_ = npos;
            inTag_ = false;
            position_ = window.base + close + 1;
        } else {
            blockedScanned_ = window.end();
        }
    }
}

bool AnchorWalk::Next(const TextWindow& window, LinkSpan& span) {
    if (ended_)
        return false;
    if (window.text.data() != windowData_ || window.base != windowBase_ ||
        window.text.size() != windowSize_)
        Begin(window);
    bool noSpan = false;
    if (!pending_.empty()) {
        if (pending_.TakeDecided(window, span, noSpan))
            return true;
        if (noSpan) {
            End(window);
            return false;
        }
    }
    while (blockedAt_ == npos) {
        const std::optional<std::size_t> start = NextAnchorStart(window);
        if (!start)
            break;
        bool found = false;
        bool tooLong = false;
        if (pending_.empty()) {
            found = FindSpan(window.base + *start, window, span);
            if (!found && window.last) {
                // A span search that fails fails from every later position too (there is no
                // "=" with a ">" after it, at most one double quote, ...), so no later anchor
                // can give a span: the step-by-step walk would only keep searching to the end.
                End(window);
                return false;
            }
            tooLong = found && span.end - span.begin > kMaxSpanLength;
        } else {
            resume_ = searches_->resumeClose.From(*start);
        }
        // Before an anchor's span is decided, the walk goes on past its ">" all the same: the
        // anchors it finds there wait behind it, so that spans still come in page order.
        if (!found)
            pending_.Add(window.base + *start, window);
        if (resume_ < window.text.size()) {
            // The ">" at the resume position closes the anchor and leaves the tag.
            inTag_ = false;
            position_ = window.base + resume_ + 1;
        } else {
            blockedAt_ = window.base + *start;
            blockedScanned_ = window.end();
        }
        if (found && !tooLong)
            return true;
    }
    if (!window.last)
        return false;
    // The text ends here: what the anchors still open get from their rules.
    if (!pending_.empty() && pending_.TakeDecided(window, span, noSpan))
        return true;
    End(window);
    return false;
}

std::size_t AnchorWalk::KeepFrom(const TextWindow& window) const {
    if (ended_)
        return window.end();
    std::size_t keep = window.end();
    if (blockedAt_ == npos)
        keep = std::min(keep, position_);
    return std::max(window.base, std::min(keep, pending_.NeedFrom()));
}

std::optional<std::size_t> AnchorWalk::NextAnchorStart(const TextWindow& window) {
    const std::string_view text = window.text;
    const std::size_t n = text.size();
    const std::size_t limit = window.last ? n : n - std::min(n, kLookahead);
    std::size_t i = position_ - window.base;
    std::size_t reportAt = nextReport_ - std::min(nextReport_, window.base);
    while (i < limit) {
        if (i >= reportAt) {
            Report(window.base + i, window.end());
            reportAt = nextReport_ - window.base;
        }
        // Outside a tag only a "<" can change anything; inside one, only a "<" that may open an
        // anchor and an address attribute, each of whose three forms has its "=" four or five
        // bytes after the H. A stretch with neither is crossed in steps that progress can follow.
        const std::size_t end = std::min(limit, i + kReportEvery);
        const std::size_t next =
            inTag_ ? FindTagMark(text, i, end) : FindEitherByte(text.substr(0, end), i, '<', '<');
        if (next == end) {
            // In a tag, an address attribute may begin in the last bytes and have its "=" after.
            const std::size_t back = inTag_ ? std::min(kHrefBeforeEquals, end - i) : 0;
            if (end == limit) {
                i = window.last ? n : end - back;
                break;
            }
            i = end - back;
            continue;
        }
        if (text[next] == '<') {
            if (HasText(text, next, "<A HREF")) {
                position_ = window.base + next;
                return next;
            }
            inTag_ = true;
            i = next + 1;
            continue;
        }
        const std::size_t equals = next;
        for (const std::size_t back : {5, 4}) {
            if (equals >= i + back && HrefFormAt(text, equals - back)) {
                position_ = window.base + equals - back;
                return equals - back;
            }
        }
        i = equals + 1;
    }
    position_ = window.base + i;
    return std::nullopt;
}

bool AnchorWalk::FindSpan(std::size_t start, const TextWindow& window, LinkSpan& span) {
    const std::string_view text = window.text;
    const std::size_t n = text.size();
    const std::size_t s = start - window.base;
    const auto spanOf = [&](std::size_t first, std::size_t end) {
        span = LinkSpan{window.base + first, window.base + end,
                        std::string_view(text.data() + first, end - first)};
        return true;
    };
    // Usually an "=" comes before the anchor's first ">", both close by: that ">" then ends
    // rule A's span and is the resume position too, and one short pass over the tag finds both.
    // Anything else takes the remembered searches below, which never cross the window twice.
    const std::string_view nearby = text.substr(0, std::min(n, s + kNearby));
    const std::size_t first = FindEitherByte(nearby, s, '=', '>');
    if (first < nearby.size() && text[first] == '=') {
        const std::size_t close = FindEitherByte(nearby, first + 1, '>', '>');
        if (close < nearby.size()) {
            resume_ = close;
            return spanOf(first + 1, close);
        }
    }
    Searches& searches = *searches_;
    resume_ = searches.resumeClose.From(s);

    // Rule A: from the first "=" to the next ">".
    const std::size_t equals = searches.equals.From(s);
    if (equals < n) {
        const std::size_t close = searches.closeAfterEquals.From(equals + 1);
        if (close < n)
            return spanOf(equals + 1, close);
    }
    // Rules B and C count only when rule A finds nothing in the whole text.
    if (!window.last)
        return false;
    // Rule B: between the first double quote and the next.
    const std::size_t quote = searches.quote.From(s);
    if (quote < n) {
        const std::size_t closing = searches.quoteAfterQuote.From(quote + 1);
        if (closing < n)
            return spanOf(quote + 1, closing);
    }
    // Rule C: from the first double quote or "=" to the next double quote or ">".
    const std::size_t either = std::min(quote, equals);
    if (either < n) {
        const std::size_t end = std::min(searches.quoteAfterEither.From(either + 1),
                                         searches.closeAfterEither.From(either + 1));
        if (end < n)
            return spanOf(either + 1, end);
    }
    return false;
}

void AnchorWalk::End(const TextWindow& window) {
    ended_ = true;
    if (progress_)
        progress_(window.end(), window.end());
}

void AnchorWalk::Report(std::size_t position, std::size_t length) {
    nextReport_ = position + kReportEvery;
    if (progress_)
        progress_(position, length);
}

}  // namespace gw::harvest
