#pragma once

#include <curl/curl.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/CurlHandle.h"
#include "platform/ReceiveGate.h"
#include "platform/TransferEngine.h"

namespace gw::platform {

// A redirect's own body is read past only this far; a server that never ends one must not
// keep the transfer from going on.
inline constexpr std::uint64_t kMaxRedirectBody = 64 * 1024;

// One easy handle and what its transfer in progress needs; kept for the next transfer, so
// that its settings are made once.
struct TransferSlot {
    CurlEasy easy;
    // The gate's wish for the receive buffer when the handle was made: libcurl takes a new
    // size only from a handle that has never run, or whose last transfer ended cleanly.
    std::size_t readBytes = 0;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    Request request;
    CurlList headers;
    std::size_t id = 0;
    bool busy = false;
    int hops = 0;
    std::uint64_t received = 0;
    // The answer of the current hop.
    std::string hopAddress;
    bool headSeen = false;
    bool redirect = false;
    std::uint64_t skipped = 0;  // bytes of a redirect's body passed over
    ResponseHead head;
    // Why the transfer stops, when the engine's callbacks stopped it.
    FailureKind stop = FailureKind::None;
    std::string stopWhy;
    // What lets the bytes in (none: all of them, as they come), and whether libcurl holds
    // this transfer paused for it.
    ReceiveGate* gate = nullptr;
    bool held = false;

    void stopWith(FailureKind kind, std::string why);

    // Reads the answer's head once; a redirect's body is skipped, any other answer is put
    // to the caller's check.
    bool takeHead();

    bool take(const char* data, std::size_t size);

    // Exceptions must not unwind through libcurl's C frames; they end the transfer instead.
    static std::size_t onWrite(char* data, std::size_t, std::size_t size, void* self);

    // The settings of one hop: its address, and the Referer the policy gives it.
    bool aim(const std::string& address);

    // The settings that differ from one transfer to the next.
    bool prepare(ReceiveGate* receiveGate);
};

}  // namespace gw::platform
