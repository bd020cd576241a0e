#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "harvest/FoundCapacity.h"

namespace gw::harvest {

// "*.zip" -> "*.ZIP*": always upper case, always starting and ending with "*".
std::string BuildMatchPattern(std::string_view fileSpec);

// False when a "[" has no closing "]".
bool PatternIsValid(std::string_view pattern);

// The whole (upper-case) name against the (upper-case) pattern: "*", "?", "#", bracket lists.
bool WildcardMatch(std::string_view name, std::string_view pattern);

// The full address of one link span, or nothing when the span yields no entry.
// `span` is the span as written in the page, `upperSpan` the same span upper-cased.
// `fetchedAddress` is the address the page really came from.
bool ResolveLink(std::string_view span, std::string_view upperSpan, std::string_view pattern,
                 std::string_view fetchedAddress, std::string& entry);

// Position reached by the walk and the length of the text given so far (the page's, when it
// is given whole); called every 64 KiB of advance and once at the end with the length itself,
// so the caller decides by time how often to let its user interface run.
using ScanProgress = std::function<void(std::size_t position, std::size_t length)>;

struct FoundLinks {
    std::vector<std::string> addresses;  // distinct, in the order found
    std::size_t dropped = 0;             // distinct matches left out once the list was full
};

// Walks the page text for anchor spans and resolves each; only addresses not already held
// are appended, at most kFoundCapacity of them. Time and memory grow linearly with the page,
// whatever it holds. (PageHarvest takes a page in pieces.)
FoundLinks ScanAnchors(std::string_view pageText, std::string_view fetchedAddress,
                       std::string_view pattern, const ScanProgress& progress = {});

using RemovalProgress = std::function<void(std::size_t index, std::size_t count)>;

// Drops bare site addresses ending in ".com" and every later copy of an equal entry; the
// order of what remains is kept.
void RemoveDuplicates(std::vector<std::string>& entries, const RemovalProgress& progress = {});

enum class HarvestStage { Scanning, RemovingDuplicates };

// The stage, and the stage's own progress as ScanProgress or RemovalProgress gives it.
using HarvestProgress =
    std::function<void(HarvestStage stage, std::size_t done, std::size_t total)>;

struct Harvest {
    std::vector<std::string> addresses;      // what the found list holds, duplicates removed
    std::size_t matched = 0;                 // addresses the scan found, before duplicates went
    std::size_t dropped = 0;                 // distinct matches left out once the list was full
    std::vector<std::string> checksumLists;  // the page's checksum lists (ChecksumLinks)
};

// What a search looks for.
struct HarvestOptions {
    // Names matching any of these patterns (BuildMatchPattern's) and none of the exclusions.
    std::vector<std::string> patterns;
    std::vector<std::string> excludes;
    // Also the pictures, videos and sounds that the page's elements name.
    bool media = false;
    // Runs `beside` on another thread while it runs `here`, and returns when both have ended.
    // Given, a whole page's media reading runs beside its anchor walk.
    std::function<void(const std::function<void()>& beside, const std::function<void()>& here)>
        runBeside;
};

// From page text to found list: scans the page for links matching `pattern` and, when it
// found any, removes duplicates; gathers the page's checksum lists on the same walk. The whole
// text given at once to the pipeline of PageHarvest.
Harvest HarvestPage(std::string_view pageText, std::string_view fetchedAddress,
                    std::string_view pattern, const HarvestProgress& progress = {});
// The same for a search's options; `lineBreaks` are the positions of the page text where its
// line rule removed a line end (ApplyLineRule gives them), which the media reading counts as
// blanks.
Harvest HarvestPage(std::string_view pageText, std::string_view fetchedAddress,
                    const HarvestOptions& options, const std::vector<std::size_t>& lineBreaks,
                    const HarvestProgress& progress = {});

}  // namespace gw::harvest
