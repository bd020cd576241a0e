#include "platform/Display.h"

#include <cstdlib>

namespace gw::platform {
namespace {

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

bool DisplayAvailable() {
    return Set("QT_QPA_PLATFORM") || Set("DISPLAY") || Set("WAYLAND_DISPLAY");
}

}  // namespace gw::platform
