#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace gw::harvest {

// Joins the addresses media elements write with a base as a browser does, through libcurl's
// URL API: blanks and bytes outside printable ASCII percent-encoded, tabs and line breaks
// dropped, http, https and ftp only, the "#fragment" dropped.
class AddressJoiner {
  public:
    // The base is the address the page came from (an address typed without a scheme came over
    // http).
    explicit AddressJoiner(std::string_view fetchedAddress);
    ~AddressJoiner();
    AddressJoiner(const AddressJoiner&) = delete;
    AddressJoiner& operator=(const AddressJoiner&) = delete;

    // The page's <base href>, resolved against the current base, becomes the base; one that
    // does not parse leaves it as it was.
    void Rebase(std::string_view baseHref);
    // The written address joined with the base; nothing when it names no kept scheme.
    std::optional<std::string> Join(std::string_view written);

    // True when the address resolves the same whatever the base: it names its scheme.
    static bool NamesScheme(std::string_view written);

  private:
    void KeepBaseAddress();

    struct Handle;
    std::unique_ptr<Handle> base_;
    std::optional<std::string> baseAddress_;  // without its fragment
    std::string cleaned_;
};

}  // namespace gw::harvest
