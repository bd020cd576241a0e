#include "harvest/MediaMerge.h"

#include <limits>

namespace gw::harvest {
namespace {

constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

// What a waiting address costs beyond its text: its string, its slots and its place in line.
constexpr std::size_t kWaitingOverhead = 64;

// How far ahead in a queue the lookups are fetched: enough to overlap their waits, few enough
// that what is fetched is still in the cache when it is used.
constexpr std::size_t kFetchAhead = 16;

}  // namespace

MediaMerge::MediaMerge(const NameFilter& filter, std::string_view fetchedAddress,
                       FoundListBuilder& found)
    : resolver_(filter, fetchedAddress), ahead_(filter, fetchedAddress), found_(found) {}

void MediaMerge::AddText(std::string_view text, std::size_t position,
                         const std::vector<std::size_t>& lineBreaks) {
    Walk(text, position, lineBreaks, media_);
    read_ = position + text.size();
    if (!base_)
        base_ = walk_.base();
}

void MediaMerge::Walk(std::string_view text, std::size_t position,
                      const std::vector<std::size_t>& lineBreaks, PlacedQueue& walked) {
    std::size_t from = 0;
    for (const std::size_t at : lineBreaks) {
        walk_.Add(text.substr(from, at - from), position + from, walked);
        walk_.LineBreak(walked);
        from = at;
    }
    walk_.Add(text.substr(from), position + from, walked);
}

void MediaMerge::ResolveAhead(const PlacedQueue& walked) {
    // A page with a <base> needs entries resolved with that instead.
    if (!walk_.base())
        ResolveAhead(walked, 1);
}

void MediaMerge::ResolveAhead(const PlacedQueue& walked, int half) {
    for (std::size_t i = 0; i < walked.size(); ++i) {
        if (EntriesAhead::HalfOf(walked.hashAhead(i)) == half)
            ahead_.Resolve(walked.textAhead(i), walked.hashAhead(i));
    }
}

void MediaMerge::TakeWalked(PlacedQueue& walked, std::size_t readTo, bool baseRead) {
    // The walk, reading on, sets its base once and never again.
    if (!base_ && baseRead)
        base_ = walk_.base();
    if (!base_ && !baseDecided_)
        ResolveAhead(walked, 0);
    for (; !walked.empty(); walked.pop())
        media_.push(walked.frontKey(), walked.front(), walked.frontHash());
    read_ = readTo;
}

void MediaMerge::WalkEnded() {
    // What the walk's thread resolved ahead is all there is, and may be read.
    if (!baseDecided_)
        DecideBase(base_, &ahead_);
}

void MediaMerge::AddAnchor(std::size_t spanBegin, std::string_view entry) {
    // Usually the media reading has passed the anchor and nothing waits before it: it goes in
    // at once, after the media addresses before it.
    if (anchors_.empty() && spanBegin <= read_) {
        Release(2 * spanBegin, 0);
        Take(false, entry, HashAddress(entry));
        return;
    }
    anchors_.push(2 * spanBegin, entry);
}

void MediaMerge::Release(std::size_t anchorsFrom) {
    // A media address still to come has a key above 2 * read_, an anchor one of at least
    // 2 * anchorsFrom.
    Release(2 * anchorsFrom, 2 * read_);
}

void MediaMerge::Finish() {
    Release(kNoLimit, kNoLimit);
    if (!baseDecided_)
        DecideBase(base_, &ahead_);
}

void MediaMerge::Release(std::size_t anchorLimit, std::size_t mediaLimit) {
    for (;;) {
        const std::size_t anchor = anchors_.empty() ? kNoLimit : anchors_.frontKey();
        const std::size_t media = media_.empty() ? kNoLimit : media_.frontKey();
        if (anchor < media && anchor <= mediaLimit && !anchors_.empty()) {
            Prefetch(false, anchors_.hashAhead(kFetchAhead));
            Take(false, anchors_.front(), anchors_.frontHash());
            anchors_.pop();
        } else if (media < anchor && media < anchorLimit && !media_.empty()) {
            Prefetch(true, media_.hashAhead(kFetchAhead));
            Take(true, media_.front(), media_.frontHash());
            media_.pop();
        } else {
            return;
        }
    }
}

void MediaMerge::Prefetch(bool media, std::uint64_t hash) const {
    if (!baseDecided_ && !waiting_.empty())
        (media ? waitingMedia_ : waitingAnchors_).Prefetch(hash);
    else if (media)
        resolver_.Prefetch(hash);
    else
        found_.Prefetch(hash);
}

void MediaMerge::Take(bool media, std::string_view text, std::uint64_t hash) {
    if (!baseDecided_ && base_)
        DecideBase(base_);
    if (baseDecided_ || (waiting_.empty() && (!media || AddressJoiner::NamesScheme(text)))) {
        Place(media, text, hash);
        return;
    }
    DistinctTexts& held = media ? waitingMedia_ : waitingAnchors_;
    bool added = false;
    const std::uint32_t number = held.Insert(text, hash, added);
    if (!added)
        return;
    waiting_.emplace_back(media, number);
    if (waitingAnchors_.bytes() + waitingMedia_.bytes() + waiting_.size() * kWaitingOverhead >
        kMaxWaitingBytes)
        DecideBase(std::nullopt);
}

void MediaMerge::Place(bool media, std::string_view text, std::uint64_t hash) {
    if (!media) {
        found_.Add(text, hash);
    } else if (const std::string* entry = resolver_.ResolveOnce(text, hash)) {
        found_.Add(*entry);
    }
}

void MediaMerge::DecideBase(const std::optional<std::string>& base, const EntriesAhead* ahead) {
    baseDecided_ = true;
    resolver_.SetBase(base, ahead);
    for (const auto& [media, number] : waiting_) {
        const std::string_view text = (media ? waitingMedia_ : waitingAnchors_)[number];
        Place(media, text, HashAddress(text));
    }
    std::vector<std::pair<bool, std::uint32_t>>().swap(waiting_);
    waitingAnchors_.Clear();
    waitingMedia_.Clear();
}

}  // namespace gw::harvest
