#pragma once

#include <chrono>
#include <cstddef>
#include <optional>

namespace gw::platform {

// Decides when the bytes that arrive for the engine's transfers may be taken. A transfer the
// gate refuses is held by libcurl itself (paused, with what arrived kept for it and no more
// read from its connection) until the gate releases it; how the gate shares what it lets
// through is its own rule. Transfers are named by the ids they were started with.
class ReceiveGate {
  public:
    virtual ~ReceiveGate() = default;

    // `size` bytes have arrived for transfer `id`: true when it takes them now (they count
    // against the gate), false when it is to be held until release() names it.
    virtual bool admit(std::size_t id, std::size_t size) = 0;
    // A held transfer that may go on now, its next bytes granted; none while none may.
    virtual std::optional<std::size_t> release() = 0;
    // How long until release() may name a held transfer; nothing while none is held.
    virtual std::optional<std::chrono::milliseconds> untilRelease() = 0;
    // Transfer `id` has ended (or was held when it ended): it waits for nothing any more.
    virtual void leave(std::size_t id) = 0;
    // The receive buffer a transfer should use, so that no single read overruns the gate by
    // much; 0 leaves the engine's own.
    virtual std::size_t readBytes() const = 0;
};

}  // namespace gw::platform
