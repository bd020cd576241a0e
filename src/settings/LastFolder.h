#pragma once

#include <string>

namespace gw::settings {

// The folder the files went to last time ("LastPath" of section "Settings"), as stored; ""
// when none is.
std::string ReadLastFolder();

// Remembers `folder` for the next run. One file replace.
bool SaveLastFolder(const std::string& folder);

// Whether Step 2's search also looked in images, video and audio last time ("AlsoMedia" of
// section "Settings"); false when nothing is stored.
bool ReadAlsoMedia();
bool SaveAlsoMedia(bool alsoMedia);

}  // namespace gw::settings
