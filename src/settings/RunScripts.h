#pragma once

namespace gw::settings {

// Whether the page's scripts ran before the last search ("RunScripts" of section "Settings");
// false when nothing, or anything but "1", is stored.
bool ReadRunScripts();

// Remembers the choice for the next run. One file replace.
bool SaveRunScripts(bool runScripts);

}  // namespace gw::settings
