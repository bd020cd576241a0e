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
    // A body that grows past this fails, so a server that never stops cannot exhaust memory.
    std::uint64_t maxBodyBytes = std::uint64_t{1} << 30;
    // Extra certificate authority file (tests trust the certificate they make); "" for none.
    std::string extraCaFile;
};

struct TransferResult {
    bool ok = false;
    std::string error;         // why it failed, for logs and the command line; "" on success
    long httpStatus = 0;       // 0 for non-HTTP transfers
    std::string finalAddress;  // the address the body really came from, after redirects
    bool redirected = false;   // whether any redirect was followed
};

// Receives the body as it arrives; returning false fails the transfer.
using BodySink = std::function<bool(const char* data, std::size_t size)>;

// Called about every 20 ms while a transfer runs (bytes so far, expected total or 0);
// returning false aborts the transfer.
using TransferProgress = std::function<bool(std::uint64_t received, std::uint64_t total)>;

// The transfer component over libcurl: http, https and ftp only (redirects too), one handle
// reused across calls so that a run's files share their connections.
class UrlTransfer {
public:
    explicit UrlTransfer(TransferOptions options = {});
    ~UrlTransfer();
    UrlTransfer(const UrlTransfer&) = delete;
    UrlTransfer& operator=(const UrlTransfer&) = delete;

    void setProgress(TransferProgress progress);

    // The whole body in memory.
    TransferResult FetchToMemory(const std::string& address, std::string& body);
    // The body streamed into `sink`.
    TransferResult Fetch(const std::string& address, const BodySink& sink);

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
