#pragma once

#include <string>

namespace gw::retrieval {

// The folder for temporary page files: "grabwright" in the per-user cache folder, made
// owner-only (an existing one of the user's own is set so too), or, without a cache folder,
// a private folder made for this run. "" with `why` set when there is none to use; a
// "grabwright" folder that belongs to another user is refused.
std::string PrivateTempFolder(std::string* why = nullptr);

// The wizard's temporary page file, temp.tmp in that folder; "" (with `why`) when it has none.
std::string WizardTempFile(std::string* why = nullptr);

}  // namespace gw::retrieval
