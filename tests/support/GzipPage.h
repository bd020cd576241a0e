#pragma once

#include <string>

namespace gw::test {

// A page as a server sends it with "Content-Encoding: gzip", and the text it decodes to.
inline const std::string kGzipPageText = "<a href=\"a.zip\">x</a>\r\nzipped";
inline const std::string kGzipPageBytes(
    "\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\x03\xb3\x49\x54\xc8\x28\x4a\x4d\xb3\x55\x4a\xd4\xab"
    "\xca\x2c\x50\xb2\xab\xb0\xd1\x4f\xb4\xe3\xe5\x02\xb2\x0b\x52\x53\x00\x01\x7b\x3b\x1d\x1d"
    "\x00\x00\x00",
    47);

}  // namespace gw::test
