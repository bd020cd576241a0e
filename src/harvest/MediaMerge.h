#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "harvest/DistinctTexts.h"
#include "harvest/FoundListBuilder.h"
#include "harvest/MediaResolver.h"
#include "harvest/MediaWalk.h"
#include "harvest/PlacedQueue.h"

namespace gw::harvest {

// Puts the addresses of media elements and of anchors into the found list together, in page
// order (by where each element starts; within one tag the anchor first), as both readings
// arrive. Each reading runs ahead of the other by what it has left open, so only that much
// waits here. Media addresses resolve against the page's first <base href> wherever it
// stands: until one is read, what follows the first address that needs a base waits (each
// address once), up to kMaxWaitingBytes; past that, or at the end, the page has no base.
class MediaMerge {
  public:
    static constexpr std::size_t kMaxWaitingBytes = 8 << 20;

    MediaMerge(const NameFilter& filter, std::string_view fetchedAddress, FoundListBuilder& found);

    // Page text from `position` on, in order; LineBreak() where the line rule removed a line end,
    // or `lineBreaks` (positions in the text) where it removed them inside it.
    void AddText(std::string_view text, std::size_t position,
                 const std::vector<std::size_t>& lineBreaks = {});
    void LineBreak() { walk_.LineBreak(media_); }

    // The same reading split, so that the walk may run on another thread than the anchor walk:
    // Walk() and ResolveAhead() touch nothing but the walk, their queue and one half of the
    // entries ahead; TakeWalked() then hands what the walk found to the merge, the text read up
    // to `readTo`, and WalkEnded() says that it has read the whole page.
    void Walk(std::string_view text, std::size_t position,
              const std::vector<std::size_t>& lineBreaks, PlacedQueue& walked);
    // Works out ahead, with the page's own address, the entries of one half of what the walk
    // found: the list takes them unless a <base> turns up. TakeWalked() does the other half.
    void ResolveAhead(const PlacedQueue& walked);
    // Whether the walk has read a <base>, to be told across threads with what it walked.
    bool WalkReadBase() const { return walk_.base().has_value(); }
    // `baseRead`: WalkReadBase() as the walk ended that stretch.
    void TakeWalked(PlacedQueue& walked, std::size_t readTo, bool baseRead);
    void WalkEnded();

    // An anchor's found entry, its span starting at `spanBegin`, in the anchor walk's order.
    void AddAnchor(std::size_t spanBegin, std::string_view entry);
    // The anchor walk gives no span starting before `anchorsFrom`: what comes before it and
    // before the media reading's position goes into the list.
    void Release(std::size_t anchorsFrom);
    // The text has ended: everything goes into the list.
    void Finish();

  private:
    void Release(std::size_t anchorLimit, std::size_t mediaLimit);
    // `hash` is the text's HashAddress.
    void Take(bool media, std::string_view text, std::uint64_t hash);
    void Place(bool media, std::string_view text, std::uint64_t hash);
    // Fetches ahead what taking a text of that hash will look at, as things stand.
    void Prefetch(bool media, std::uint64_t hash) const;
    void DecideBase(const std::optional<std::string>& base, const EntriesAhead* ahead = nullptr);
    // Of the walk's finds, those in the given half of the entries ahead.
    void ResolveAhead(const PlacedQueue& walked, int half);

    MediaWalk walk_;
    // The walk's base as of what it has handed over: the walk may be reading on meanwhile.
    std::optional<std::string> base_;
    MediaResolver resolver_;
    EntriesAhead ahead_;  // each half touched by one thread only, until the walk has ended
    FoundListBuilder& found_;
    PlacedQueue media_;
    PlacedQueue anchors_;
    std::size_t read_ = 0;  // the media reading has seen the text before this position
    bool baseDecided_ = false;
    // Before the base is known: what follows the first address that needs it, in order, each
    // once, media addresses marked true.
    DistinctTexts waitingAnchors_;
    DistinctTexts waitingMedia_;
    std::vector<std::pair<bool, std::uint32_t>> waiting_;
};

}  // namespace gw::harvest
