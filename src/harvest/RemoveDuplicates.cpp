#include <string_view>
#include <unordered_set>

#include "harvest/Harvest.h"

namespace gw::harvest {
namespace {

// A scheme, a host ending in ".com" and nothing after it: no "/" from the 8th character on,
// the 8th being the first of the host after "http://".
bool isBareSiteAddress(std::string_view entry) {
    return entry.ends_with(".com") && (entry.size() < 8 || entry.find('/', 7) == entry.npos);
}

constexpr std::size_t kReportEvery = 256;

}  // namespace

// Removing every bare site address and then every later copy of an entry gives what comparing
// each entry with every later one, restarting after each bare site address, gives: whether an
// entry goes depends only on its text and on the entries before it.
void RemoveDuplicates(std::vector<std::string>& entries, const RemovalProgress& progress) {
    std::vector<bool> keep(entries.size());
    {
        // Views into the entries, which must not move while the set holds them.
        std::unordered_set<std::string_view> seen;
        seen.reserve(entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (progress && i % kReportEvery == 0)
                progress(i + 1, entries.size());
            keep[i] = !isBareSiteAddress(entries[i]) && seen.insert(entries[i]).second;
        }
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!keep[i])
            continue;
        if (kept != i)
            entries[kept] = std::move(entries[i]);
        ++kept;
    }
    entries.resize(kept);
    if (progress)
        progress(kept, kept);
}

}  // namespace gw::harvest
