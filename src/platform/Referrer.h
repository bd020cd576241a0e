#pragma once

#include <string>

namespace gw::platform {

// The Referer a request for `target` carries when its link stood on `page`, by the browsers'
// default policy (strict-origin-when-cross-origin): the page's address to its own origin, the
// origin alone to another, nothing from https to http; never a fragment or a user name and
// password. Only web pages refer, and only web addresses are told: otherwise "".
std::string ReferrerFor(const std::string& page, const std::string& target);

}  // namespace gw::platform
