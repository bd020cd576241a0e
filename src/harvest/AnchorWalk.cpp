#include "harvest/AnchorWalk.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "harvest/ByteScan.h"
#include "harvest/UpperCase.h"

namespace gw::harvest {
namespace {

// Often enough for a progress bar, rarely enough that the callback costs nothing measurable.
constexpr std::size_t kReportEvery = 64 * 1024;

// How far past an anchor's start its address and closing ">" are looked for in one pass.
constexpr std::size_t kNearby = 4096;

}  // namespace

AnchorWalk::AnchorWalk(std::string_view page, const ScanProgress& progress)
    : page_(page),
      progress_(progress),
      nextReport_(kReportEvery),
      equals_(page, '='),
      resumeClose_(page, '>'),
      closeAfterEquals_(page, '>'),
      quote_(page, '"'),
      quoteAfterQuote_(page, '"'),
      quoteAfterEither_(page, '"'),
      closeAfterEither_(page, '>') {}

std::optional<LinkSpan> AnchorWalk::Next() {
    if (ended_)
        return std::nullopt;
    const std::size_t start = NextAnchorStart().value_or(page_.size());
    std::optional<LinkSpan> span;
    if (start < page_.size())
        span = FindSpan(start);
    // A span search that fails fails from every later position too (there is no "=" with a
    // ">" after it, at most one double quote, ...), so no later anchor can give a span: the
    // step-by-step walk would only keep searching to the end of the page.
    if (!span || resume_ >= page_.size()) {
        ended_ = true;
        if (progress_)
            progress_(page_.size(), page_.size());
        return span;
    }
    // The ">" at the resume position closes the anchor and leaves the tag.
    inTag_ = false;
    position_ = resume_ + 1;
    return span;
}

std::optional<std::size_t> AnchorWalk::NextAnchorStart() {
    const std::size_t n = page_.size();
    while (position_ < n) {
        Report(position_);
        // Outside a tag only a "<" can change anything; inside one, only a "<" that may open an
        // anchor and an address attribute, each of whose three forms has its "=" four or five
        // bytes after the H. A stretch with neither is crossed in steps that progress can follow.
        const std::size_t end = std::min(n, position_ + kReportEvery);
        const std::size_t next = inTag_ ? FindTagMark(page_, position_, end)
                                        : FindEitherByte(page_.substr(0, end), position_, '<', '<');
        if (next == end) {
            position_ = end;
            continue;
        }
        if (page_[next] == '<') {
            if (HasText(next, "<A HREF"))
                return position_ = next;
            inTag_ = true;
            position_ = next + 1;
            continue;
        }
        const std::size_t equals = next;
        for (const std::size_t back : {5, 4}) {
            if (equals >= position_ + back && HrefFormAt(equals - back))
                return position_ = equals - back;
        }
        position_ = equals + 1;
    }
    position_ = n;
    return std::nullopt;
}

bool AnchorWalk::HasText(std::size_t i, std::string_view upperText) const {
    const std::size_t size = upperText.size();
    if (size > page_.size() - i)
        return false;
    if constexpr (std::endian::native == std::endian::little) {
        // All at once: a letter of either case, with its case bit set, is the lower-case one;
        // every other byte must be exactly itself.
        if (size <= 8 && page_.size() - i >= 8) {
            std::uint64_t word;
            std::memcpy(&word, page_.data() + i, 8);
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
        if (UpperAscii(page_[i + k]) != upperText[k])
            return false;
    return true;
}

bool AnchorWalk::HrefFormAt(std::size_t i) const {
    return HasText(i, "HREF= \"") || HasText(i, "HREF =\"") || HasText(i, "HREF=\"");
}

std::optional<LinkSpan> AnchorWalk::FindSpan(std::size_t start) {
    const std::size_t n = page_.size();
    // Usually an "=" comes before the anchor's first ">", both close by: that ">" then ends
    // rule A's span and is the resume position too, and one short pass over the tag finds both.
    // Anything else takes the remembered searches below, which never cross the page twice.
    const std::string_view nearby = page_.substr(0, std::min(n, start + kNearby));
    const std::size_t first = FindEitherByte(nearby, start, '=', '>');
    if (first < nearby.size() && page_[first] == '=') {
        const std::size_t close = FindEitherByte(nearby, first + 1, '>', '>');
        if (close < nearby.size()) {
            resume_ = close;
            return LinkSpan{first + 1, close};
        }
    }
    resume_ = resumeClose_.From(start);

    // Rule A: from the first "=" to the next ">".
    const std::size_t equals = equals_.From(start);
    if (equals < n) {
        const std::size_t close = closeAfterEquals_.From(equals + 1);
        if (close < n)
            return LinkSpan{equals + 1, close};
    }
    // Rule B: between the first double quote and the next.
    const std::size_t quote = quote_.From(start);
    if (quote < n) {
        const std::size_t closing = quoteAfterQuote_.From(quote + 1);
        if (closing < n)
            return LinkSpan{quote + 1, closing};
    }
    // Rule C: from the first double quote or "=" to the next double quote or ">".
    const std::size_t either = std::min(quote, equals);
    if (either < n) {
        const std::size_t end =
            std::min(quoteAfterEither_.From(either + 1), closeAfterEither_.From(either + 1));
        if (end < n)
            return LinkSpan{either + 1, end};
    }
    return std::nullopt;
}

void AnchorWalk::Report(std::size_t position) {
    if (position < nextReport_)
        return;
    nextReport_ = position + kReportEvery;
    if (progress_)
        progress_(position, page_.size());
}

}  // namespace gw::harvest
