#pragma once

#include <string>

namespace gw::platform {

// A folder made for this run alone under an absolute $TMPDIR, else /tmp, with a name no one
// can guess or make first; it is removed when the program ends, unless something was left in
// it. The same folder on every call; "" (with `why`) when none could be made.
std::string RunFolder(std::string* why = nullptr);

// `folder` (and its parents) made when missing and set owner-only; "" (with `why`) when it
// cannot be, or when it belongs to another user, who could read or swap what is put in it.
std::string OwnPrivateFolder(const std::string& folder, std::string* why = nullptr);

// Removes a file the program made; whether it was there does not matter.
void RemoveFile(const std::string& path);

}  // namespace gw::platform
