#pragma once

#include <string>
#include <string_view>

#include "harvest/NameFilter.h"

namespace gw::harvest {

// Where relative links of one page are joined, worked out once per search.
struct JoinBase {
    std::string folder;  // ends in "/", always with a scheme: "http://host/d/"
    std::string origin;  // the folder's scheme and host: "http://host"
    std::string scheme;  // the folder's scheme up to and including ":": "http:"
};

// The folder of the address a page came from: query and fragment dropped, cut after the last
// "/" of the path, "/" added when there is no path, "http://" put in front when the address
// names no http, https or ftp scheme.
JoinBase JoinBaseOf(std::string_view fetchedAddress);

// Turns link spans into found entries for one pattern and one page; reuses its buffers so that
// a page with a million anchors does not allocate per span.
class LinkResolver {
  public:
    LinkResolver(std::string_view pattern, std::string_view fetchedAddress);
    LinkResolver(const NameFilter& filter, std::string_view fetchedAddress);

    // Fills `entry` and returns true when the span names a wanted file.
    bool Resolve(std::string_view span, std::string_view upperSpan, std::string& entry);

  private:
    NameFilter filter_;
    JoinBase base_;
    std::string link_;
    std::string name_;
};

}  // namespace gw::harvest
