#pragma once

#include <string>
#include <string_view>

namespace gw::settings {

// Replaces the file by a new one holding `text`, readable and writable by its owner only.
// The new file is written in full to a temporary file in the same folder and renamed over the
// old one, so a crash or a full disk at any point leaves either the old file or the new one.
bool ReplaceFile(const std::string& path, std::string_view text);

}  // namespace gw::settings
