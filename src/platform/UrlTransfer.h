#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace gw::platform {

struct TransferOptions {
    long connectTimeoutSeconds = 60;
    // A transfer that moves less than 1 byte/s for this long fails.
    long lowSpeedTimeSeconds = 60;
    // Extra certificate authority file (tests trust the certificate they make); "" for none.
    std::string extraCaFile;
};

struct TransferResult {
    bool ok = false;
    std::string error;            // why it failed, for logs and the command line; "" on success
    long httpStatus = 0;          // 0 for non-HTTP transfers
    std::string finalAddress;     // the address the body really came from, after redirects
    bool redirected = false;      // whether any redirect was followed
    bool cancelled = false;       // the caller stopped it (abort() or the progress callback)
    bool transient = false;       // the failure may pass: a reset, a time-out, HTTP 429 or 503
    long retryAfterSeconds = -1;  // the server's Retry-After, -1 when it sent none
};

// Receives the body as it arrives; returning false fails the transfer.
using BodySink = std::function<bool(const char* data, std::size_t size)>;

// Called on every pass of the transfer's wait loop, about every 10 ms and whenever data
// arrives (bytes so far, expected total or 0); returning false aborts the transfer.
using TransferProgress = std::function<bool(std::uint64_t received, std::uint64_t total)>;

// What one call asks for beyond the handle's options.
struct Request {
    // Called while the transfer runs; returning false aborts it.
    TransferProgress progress;
    // Ask for a compressed body and hand on the decoded bytes (pages only: a downloaded file
    // must stay byte for byte what the server holds).
    bool acceptCompressed = false;
    // A body that grows past this fails, so a server that never stops cannot exhaust memory;
    // 0 for no limit (files streamed to disk).
    std::uint64_t maxBodyBytes = 0;
};

// The transfer component over libcurl: http, https and ftp only (redirects too), one handle
// reused across calls so that a run's files share their connections.
class UrlTransfer {
  public:
    explicit UrlTransfer(TransferOptions options = {});
    ~UrlTransfer();
    UrlTransfer(const UrlTransfer&) = delete;
    UrlTransfer& operator=(const UrlTransfer&) = delete;

    // The whole body in memory.
    TransferResult FetchToMemory(const std::string& address, std::string& body,
                                 const Request& request = {});
    // The body streamed into `sink`.
    TransferResult Fetch(const std::string& address, const BodySink& sink,
                         const Request& request = {});

    // Makes the transfer in progress fail at its next progress call (safe to call from the
    // progress callback's event processing, e.g. when the user closes the wait dialog).
    void abort();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// libcurl's process-wide set-up; call once from main before any transfer.
void InitTransfers();

}  // namespace gw::platform
