#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "harvest/DistinctTexts.h"
#include "harvest/NameFilter.h"

namespace gw::harvest {

// Turns the addresses media elements name into found entries as a browser resolves them,
// through libcurl's URL API: against the page's base address, http, https and ftp only, the
// "#fragment" dropped; then filters them by name. A dense page names the same address many
// times, so each distinct one is resolved once.
class MediaResolver {
  public:
    MediaResolver(const NameFilter& filter, std::string_view fetchedAddress);
    ~MediaResolver();
    MediaResolver(const MediaResolver&) = delete;
    MediaResolver& operator=(const MediaResolver&) = delete;

    // Sets the base, once, before the first Resolve of an address that names no scheme:
    // `baseHref` (the first <base href>) resolved against the address the page came from, or
    // that address itself.
    void SetBase(const std::optional<std::string>& baseHref);

    // The entry for one address as the page wrote it, the first time it is asked for; nullptr
    // when it yields none or was given before (a second time it could not change the list).
    // `hash` is the written address's HashAddress.
    const std::string* ResolveOnce(std::string_view written, std::uint64_t hash);
    void Prefetch(std::uint64_t hash) const { written_.Prefetch(hash); }

    // True when the address resolves the same whatever the base: it names its scheme.
    static bool NamesScheme(std::string_view written);

  private:
    struct Handle;
    std::optional<std::string> Join(std::string_view written);

    NameFilter filter_;
    std::unique_ptr<Handle> base_;
    std::optional<std::string> baseAddress_;  // without its fragment
    struct Resolved {
        std::optional<std::string> entry;
        bool given = false;
    };
    DistinctTexts written_;
    std::vector<Resolved> resolved_;  // by the number of the written address
    std::string cleaned_;
};

}  // namespace gw::harvest
