#pragma once

namespace gw::platform {

// Whether a window can be opened: a display named in the environment (X11 or Wayland), or a
// Qt platform plugin chosen outright (offscreen for tests).
bool DisplayAvailable();

}  // namespace gw::platform
