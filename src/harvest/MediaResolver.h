#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "harvest/AddressJoiner.h"
#include "harvest/DistinctTexts.h"
#include "harvest/NameFilter.h"

namespace gw::harvest {

// Entries worked out ahead of need, against the address the page came from: what the found
// list takes when the page turns out to have no <base>, as most pages. Two halves, for the
// addresses of odd and of even hash, that two threads may fill at once, one each.
class EntriesAhead {
  public:
    EntriesAhead(const NameFilter& filter, std::string_view fetchedAddress);

    static int HalfOf(std::uint64_t hash) { return static_cast<int>(hash & 1); }
    // Works out the entry of the written address, in the half of its hash, unless it was
    // worked out before; `hash` is its HashAddress.
    void Resolve(std::string_view written, std::uint64_t hash);
    // The entry worked out for a written address (nothing: it yields none), or nullptr when it
    // was not worked out.
    const std::optional<std::string>* Find(std::string_view written, std::uint64_t hash) const;

  private:
    struct Half {
        explicit Half(std::string_view fetchedAddress) : joiner(fetchedAddress) {}
        AddressJoiner joiner;
        DistinctTexts written;
        std::vector<std::optional<std::string>> entries;  // by the number of the written address
    };
    NameFilter filter_;
    Half halves_[2];
};

// Turns the addresses media elements name into found entries as a browser resolves them,
// against the page's base address, then filters them by name. A dense page names the same
// address many times, so each distinct one is resolved once.
class MediaResolver {
  public:
    MediaResolver(const NameFilter& filter, std::string_view fetchedAddress);

    // Sets the base, once, before the first Resolve of an address that names no scheme:
    // `baseHref` (the first <base href>) resolved against the address the page came from, or
    // that address itself, when the entries in `ahead` (if given) hold.
    void SetBase(const std::optional<std::string>& baseHref, const EntriesAhead* ahead = nullptr);

    // The entry for one address as the page wrote it, the first time it is asked for; nullptr
    // when it yields none or was given before (a second time it could not change the list).
    // `hash` is the written address's HashAddress.
    const std::string* ResolveOnce(std::string_view written, std::uint64_t hash);
    void Prefetch(std::uint64_t hash) const { written_.Prefetch(hash); }

  private:
    NameFilter filter_;
    AddressJoiner joiner_;
    const EntriesAhead* ahead_ = nullptr;
    struct Resolved {
        std::optional<std::string> entry;
        bool given = false;
    };
    DistinctTexts written_;
    std::vector<Resolved> resolved_;  // by the number of the written address
};

}  // namespace gw::harvest
