#include "harvest/MediaResolver.h"

#include "harvest/UpperCase.h"

namespace gw::harvest {
namespace {

// Distinct addresses remembered at most; past it the memory starts over, so a page of a
// million distinct pictures costs no more than one of a few thousand.
constexpr std::size_t kMaxRemembered = 1 << 16;

// The found entry of an address as the page wrote it: joined with the base, and kept if its
// name, after the last "/", query and all, matches as an anchor's would.
std::optional<std::string> EntryOf(AddressJoiner& joiner, const NameFilter& filter,
                                   std::string_view written) {
    std::optional<std::string> entry = joiner.Join(written);
    if (entry) {
        const std::size_t slash = entry->rfind('/');
        std::string name = entry->substr(slash == std::string::npos ? 0 : slash + 1);
        for (char& c : name)
            c = UpperAscii(c);
        if (!filter.Matches(name))
            entry.reset();
    }
    return entry;
}

}  // namespace

EntriesAhead::EntriesAhead(const NameFilter& filter, std::string_view fetchedAddress)
    : filter_(filter), halves_{Half(fetchedAddress), Half(fetchedAddress)} {}

void EntriesAhead::Resolve(std::string_view written, std::uint64_t hash) {
    Half& half = halves_[HalfOf(hash)];
    // Past the bound the rest are resolved when needed, as without entries ahead.
    if (half.written.size() >= kMaxRemembered)
        return;
    bool added = false;
    half.written.Insert(written, hash, added);
    if (added)
        half.entries.push_back(EntryOf(half.joiner, filter_, written));
}

const std::optional<std::string>* EntriesAhead::Find(std::string_view written,
                                                     std::uint64_t hash) const {
    const Half& half = halves_[HalfOf(hash)];
    const std::uint32_t number = half.written.Find(written, hash);
    return number == DistinctTexts::npos ? nullptr : &half.entries[number];
}

MediaResolver::MediaResolver(const NameFilter& filter, std::string_view fetchedAddress)
    : filter_(filter), joiner_(fetchedAddress) {}

void MediaResolver::SetBase(const std::optional<std::string>& baseHref, const EntriesAhead* ahead) {
    if (baseHref)
        joiner_.Rebase(*baseHref);
    else
        ahead_ = ahead;
}

const std::string* MediaResolver::ResolveOnce(std::string_view written, std::uint64_t hash) {
    if (written_.size() >= kMaxRemembered) {
        written_.Clear();
        resolved_.clear();
    }
    bool added = false;
    const std::uint32_t number = written_.Insert(written, hash, added);
    if (added) {
        const std::optional<std::string>* ahead = ahead_ ? ahead_->Find(written, hash) : nullptr;
        resolved_.push_back(Resolved{ahead ? *ahead : EntryOf(joiner_, filter_, written)});
    }
    Resolved& resolved = resolved_[number];
    if (resolved.given || !resolved.entry)
        return nullptr;
    resolved.given = true;
    return &*resolved.entry;
}

}  // namespace gw::harvest
