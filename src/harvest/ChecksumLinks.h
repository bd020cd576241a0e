#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "harvest/LinkResolver.h"

namespace gw::harvest {

// Gathers, from every anchor of a page whatever the user's pattern, the links whose names say
// they hold checksums: a list such as "SHA256SUMS" (any letter case, with or without a suffix
// such as ".txt"), or a sidecar such as "file.zip.sha256" that is named after one file.
class ChecksumLinks {
  public:
    explicit ChecksumLinks(std::string_view fetchedAddress);

    // One link span as the walk cuts it, in page order.
    void Add(std::string_view span, std::string_view upperSpan);

    // The lists in page order; a sidecar counts only when its name, less its extension, is the
    // name of one of the `found` addresses. The run that reads them judges which it reads.
    std::vector<std::string> Take(const std::vector<std::string>& found);

  private:
    struct Candidate {
        std::string address;
        std::size_t nameLength = 0;  // of the file a sidecar is named after; 0 for a list
    };
    LinkResolver resolver_;
    std::string entry_;
    std::vector<Candidate> candidates_;
    std::unordered_set<std::string> seen_;
};

}  // namespace gw::harvest
