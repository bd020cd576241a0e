#include "harvest/LinkScan.h"

#include <algorithm>

#include "harvest/UpperCase.h"

namespace gw::harvest {
namespace {

// The least of a new piece that joins kept text at a time.
constexpr std::size_t kJoinAtLeast = 4096;

}  // namespace

LinkScan::LinkScan(std::string_view pattern, std::string_view fetchedAddress,
                   const ScanProgress& progress, ChecksumLinks* checksums)
    : resolver_(pattern, fetchedAddress), walk_(progress), checksums_(checksums) {}

LinkScan::LinkScan(const NameFilter& filter, std::string_view fetchedAddress,
                   const ScanProgress& progress, ChecksumLinks* checksums, bool media)
    : resolver_(filter, fetchedAddress), walk_(progress), checksums_(checksums) {
    if (media)
        media_.emplace(filter, fetchedAddress, found_);
}

void LinkScan::Add(std::string_view text) {
    Walk(text, false);
}

FoundLinks LinkScan::Finish(std::string_view lastText) {
    Walk(lastText, true);
    if (media_)
        media_->Finish();
    return found_.Take();
}

void LinkScan::Walk(std::string_view text, bool last) {
    const std::size_t textBase = received_;
    received_ += text.size();
    std::size_t offset = 0;  // of `text`, the first byte no window has held yet
    while (!kept_.empty()) {
        // An open anchor needs text from before this piece: the piece joins the kept text a
        // stretch at a time, each as long as what is kept, until the anchor is decided. So a
        // piece is copied only as far as open anchors reach into it, and twice at most.
        const std::size_t take =
            std::min(text.size() - offset, std::max(kept_.size(), kJoinAtLeast));
        kept_.append(text.data() + offset, take);
        offset += take;
        const TextWindow window{kept_, keptBase_, last && offset == text.size()};
        Walk(window);
        if (window.last)
            return;
        const std::size_t keep = walk_.KeepFrom(window);
        if (keep >= textBase) {
            // Nothing before the piece is needed any longer: the rest is walked where it lies.
            kept_.clear();
            offset = keep - textBase;
            break;
        }
        KeepFrom(window, keep);
        if (offset == text.size())
            return;
    }
    const TextWindow window{text.substr(offset), textBase + offset, last};
    Walk(window);
    if (!last)
        KeepFrom(window, walk_.KeepFrom(window));
}

void LinkScan::KeepFrom(const TextWindow& window, std::size_t position) {
    if (window.text.data() == kept_.data()) {
        kept_.erase(0, position - keptBase_);
        // A long open span is over: its memory goes too.
        if (kept_.capacity() > 4 * kJoinAtLeast && kept_.capacity() > 4 * kept_.size())
            kept_.shrink_to_fit();
    } else {
        kept_.assign(window.text.substr(position - window.base));
    }
    keptBase_ = position;
}

void LinkScan::Walk(const TextWindow& window) {
    LinkSpan span;
    while (walk_.Next(window, span)) {
        // Several anchors before one far "=" all get the same span; it resolves the same way
        // each time, so only the first can change the list, and resolving a long span again
        // per anchor would make such a page quadratic.
        if (span.begin == previous_.begin && span.end == previous_.end)
            continue;
        previous_ = span;
        upperSpan_.resize(span.text.size());
        UpperCaseInto(span.text.data(), span.text.size(), upperSpan_.data());
        if (resolver_.Resolve(span.text, upperSpan_, entry_)) {
            if (media_)
                media_->AddAnchor(span.begin, entry_);
            else
                found_.Add(entry_);
        }
        if (checksums_)
            checksums_->Add(span.text, upperSpan_);
    }
    if (media_ && !window.last)
        media_->Release(walk_.KeepFrom(window));
}

}  // namespace gw::harvest
