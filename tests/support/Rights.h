#pragma once

#include <string>

namespace gw::test {

// "" when this machine lets a test mount a small file system of its own inside a mount
// namespace (unshare -m), else why not: a chroot without the right, or a container without
// CAP_SYS_ADMIN, refuses it. Asked once.
std::string MountsRefused();

}  // namespace gw::test
