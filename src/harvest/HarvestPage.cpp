#include <algorithm>

#include "harvest/PageHarvest.h"
#include "harvest/WalkedStretches.h"

namespace gw::harvest {
namespace {

constexpr std::size_t kWholeStretch = 1 << 20;

// The positions of `lineBreaks` from `next` on that fall in the stretch of `size` bytes from
// `done`, counted from the stretch's start, into `inStretch`; `next` moves past them.
void BreaksIn(const std::vector<std::size_t>& lineBreaks,
              std::vector<std::size_t>::const_iterator& next, std::size_t done, std::size_t size,
              std::vector<std::size_t>& inStretch) {
    inStretch.clear();
    for (; next != lineBreaks.end() && *next - done <= size; ++next)
        inStretch.push_back(*next - done);
}

HarvestOptions LookingFor(std::string_view pattern) {
    HarvestOptions options;
    options.patterns = {std::string(pattern)};
    return options;
}

}  // namespace

PageHarvest::PageHarvest(std::string_view pattern, std::string_view fetchedAddress,
                         const HarvestProgress& progress)
    : PageHarvest(LookingFor(pattern), fetchedAddress, progress) {}

PageHarvest::PageHarvest(const HarvestOptions& options, std::string_view fetchedAddress,
                         const HarvestProgress& progress)
    : progress_(progress),
      runBeside_(options.runBeside),
      scanProgress_(progress_ ? ScanProgress([this](std::size_t done, std::size_t total) {
          progress_(HarvestStage::Scanning, done, total);
      })
                              : ScanProgress()),
      checksums_(fetchedAddress),
      scan_(NameFilter(options.patterns, options.excludes), fetchedAddress, scanProgress_,
            &checksums_, options.media) {}

void PageHarvest::AddBytes(std::string_view bytes) {
    MediaMerge* media = scan_.media();
    std::size_t position = received_;
    const std::string_view first = NextStretch(bytes, media, position);
    if (bytes.empty()) {
        received_ = position;
        scan_.Add(first);
        return;
    }
    // A piece with line ends goes on joined in one stretch, not a line at a time.
    joined_.assign(first);
    while (!bytes.empty())
        joined_ += NextStretch(bytes, media, position);
    received_ = position;
    scan_.Add(joined_);
}

std::string_view PageHarvest::NextStretch(std::string_view& bytes, MediaMerge* media,
                                          std::size_t& position) {
    const char* end = bytes.data() + bytes.size();
    const std::string_view stretch = lineEnds_.Next(bytes);
    if (media) {
        media->AddText(stretch, position);
        // Short of the end, the stretch stopped at a line end that the rule removed.
        if (stretch.data() + stretch.size() != end)
            media->LineBreak();
    }
    position += stretch.size();
    return stretch;
}

void PageHarvest::AddText(std::string_view text) {
    ToMedia(text, {});
    scan_.Add(text);
}

void PageHarvest::ToMedia(std::string_view text, const std::vector<std::size_t>& lineBreaks) {
    if (MediaMerge* media = scan_.media())
        media->AddText(text, received_, lineBreaks);
    received_ += text.size();
}

Harvest PageHarvest::Finish(std::string_view lastText, const std::vector<std::size_t>& lineBreaks) {
    if (scan_.media() && runBeside_ && lastText.size() > kWholeStretch)
        return FinishBeside(lastText, lineBreaks);
    // With media, the two readings take a long text a stretch at a time, so that what one
    // has found waits for the other only as long as a stretch.
    const std::size_t stretchSize = scan_.media() ? kWholeStretch : lastText.size();
    auto breaks = lineBreaks.begin();
    std::vector<std::size_t> stretchBreaks;
    for (std::size_t done = 0;; done += stretchSize) {
        const std::string_view stretch = lastText.substr(done, stretchSize);
        BreaksIn(lineBreaks, breaks, done, stretch.size(), stretchBreaks);
        ToMedia(stretch, stretchBreaks);
        if (done + stretchSize >= lastText.size()) {
            lastText.remove_prefix(done);
            break;
        }
        scan_.Add(stretch);
    }
    return ListFound(lastText);
}

Harvest PageHarvest::FinishBeside(std::string_view text,
                                  const std::vector<std::size_t>& lineBreaks) {
    MediaMerge& media = *scan_.media();
    const std::size_t start = received_;
    const std::size_t count = (text.size() + kWholeStretch - 1) / kWholeStretch;
    WalkedStretches walked;
    // Either side that fails stops the other, so that neither waits for what will not come.
    const auto stoppingOnFailure = [&walked](const auto& work) {
        try {
            work();
        } catch (...) {
            walked.Stop();
            throw;
        }
    };
    const auto walkAll = [&] {
        auto breaks = lineBreaks.begin();
        std::vector<std::size_t> stretchBreaks;
        for (std::size_t done = 0; done < text.size(); done += kWholeStretch) {
            PlacedQueue* into = walked.NextToFill();
            if (!into)
                return;
            const std::string_view stretch = text.substr(done, kWholeStretch);
            BreaksIn(lineBreaks, breaks, done, stretch.size(), stretchBreaks);
            media.Walk(stretch, start + done, stretchBreaks, *into);
            media.ResolveAhead(*into);
            walked.Filled(media.WalkReadBase());
        }
    };
    std::size_t taken = 0;
    // Hands the merge each stretch walked so far, or at least up to `atLeast` stretches.
    const auto take = [&](std::size_t atLeast) {
        bool baseRead = false;
        while (PlacedQueue* stretch = walked.NextWalked(taken < atLeast, baseRead)) {
            ++taken;
            media.TakeWalked(*stretch, start + std::min(taken * kWholeStretch, text.size()),
                             baseRead);
            walked.Taken();
        }
        // Once the whole page is walked its base is known, and what waited for it goes on.
        if (taken == count)
            media.WalkEnded();
    };
    // The anchor walk runs up to as many stretches ahead of the media reading as the reading
    // may run ahead of it: the page's first pictures cost the reading the most.
    const auto walkAnchors = [&] {
        for (std::size_t stretch = 0; stretch + 1 < count; ++stretch) {
            take(stretch + 1 > WalkedStretches::kSlots ? stretch + 1 - WalkedStretches::kSlots : 0);
            scan_.Add(text.substr(stretch * kWholeStretch, kWholeStretch));
        }
        take(count);
    };
    runBeside_([&] { stoppingOnFailure(walkAll); }, [&] { stoppingOnFailure(walkAnchors); });
    received_ = start + text.size();
    return ListFound(text.substr((count - 1) * kWholeStretch));
}

Harvest PageHarvest::ListFound(std::string_view lastText) {
    FoundLinks found = scan_.Finish(lastText);
    Harvest harvest;
    harvest.addresses = std::move(found.addresses);
    harvest.dropped = found.dropped;
    harvest.matched = harvest.addresses.size();
    if (harvest.matched > 0) {
        RemoveDuplicates(harvest.addresses, [this](std::size_t index, std::size_t count) {
            if (progress_)
                progress_(HarvestStage::RemovingDuplicates, index, count);
        });
    }
    harvest.checksumLists = checksums_.Take(harvest.addresses);
    return harvest;
}

Harvest HarvestPage(std::string_view pageText, std::string_view fetchedAddress,
                    std::string_view pattern, const HarvestProgress& progress) {
    PageHarvest harvest(pattern, fetchedAddress, progress);
    return harvest.Finish(pageText);
}

Harvest HarvestPage(std::string_view pageText, std::string_view fetchedAddress,
                    const HarvestOptions& options, const std::vector<std::size_t>& lineBreaks,
                    const HarvestProgress& progress) {
    PageHarvest harvest(options, fetchedAddress, progress);
    return harvest.Finish(pageText, lineBreaks);
}

}  // namespace gw::harvest
