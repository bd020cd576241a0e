#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ReceiveGate.h"

namespace gw::platform {

struct TransferOptions {
    long connectTimeoutSeconds = 60;
    // A transfer that moves less than 1 byte/s for this long fails.
    long lowSpeedTimeSeconds = 60;
    // Extra certificate authority file (tests trust the certificate they make); "" for none.
    std::string extraCaFile;
};

// What the engine can tell of a failure; what to do about it (try again, give up) is the
// caller's to decide.
enum class FailureKind {
    None,
    Connection,  // reset, broken off, timed out, nothing received: may pass on another try
    HttpStatus,  // the server answered 400 or more (head.httpStatus says which)
    Cancelled,   // the caller stopped it
    Local,       // the caller's sink refused the body, or the body grew past the cap
    Unwanted,    // the caller's head check refused the answer
    Other,       // anything else: a refused address, name resolution, TLS, too many redirects
};

// What the server said about the body, read before its first byte is handed on.
struct ResponseHead {
    long httpStatus = 0;  // 0 for non-HTTP transfers
    std::string contentRange;
    std::string etag;
    std::string lastModified;
    std::string acceptRanges;
    // The body's length as the server announced it (of the range, for a 206); -1 when unsaid.
    std::int64_t contentLength = -1;
    // Where the answer came from: the request's address, or the last redirect's target. Links
    // on a page resolve against it.
    std::string address;
    // When the server says it answered: how old its Last-Modified was then tells whether that
    // date can name one version of the bytes.
    std::string date;
};

struct TransferResult {
    bool ok = false;
    FailureKind failure = FailureKind::None;
    std::string error;         // why it failed, for the command line; "" on success
    std::string finalAddress;  // the address the body really came from, after redirects
    bool redirected = false;   // whether any redirect was followed
    std::string retryAfter;    // the server's Retry-After as sent, "" when it sent none
    ResponseHead head;         // of the last answer (its status 0 for non-HTTP transfers)
    std::uint64_t bytes = 0;   // body bytes handed to the sink

    bool cancelled() const { return failure == FailureKind::Cancelled; }
};

// Receives the body as it arrives; returning false fails the transfer.
using BodySink = std::function<bool(const char* data, std::size_t size)>;

// Called once for the answer that is not a redirect, before its body (or when it has none);
// a reason ("" accepts) fails the transfer before any of the body reaches the sink. A caller
// that takes the body as it arrives learns here where it comes from.
using HeadCheck = std::function<std::string(const ResponseHead& head)>;

// Called about every 10 ms while a blocking fetch waits (bytes so far, expected total or 0);
// returning false aborts the transfer.
using TransferProgress = std::function<bool(std::uint64_t received, std::uint64_t total)>;

struct Request {
    std::string address;
    BodySink sink;
    HeadCheck checkHead;
    // Ask for a compressed body and hand on the decoded bytes (pages only: a downloaded file
    // must stay byte for byte what the server holds).
    bool acceptCompressed = false;
    // A body that grows past this fails, so a server that never stops cannot exhaust memory;
    // 0 for no limit (files streamed to disk).
    std::uint64_t maxBodyBytes = 0;
    // Ask for the body from this byte on (0: the whole body), only if it is still the version
    // named by `ifRange` (an ETag or an HTTP date).
    std::uint64_t rangeFrom = 0;
    std::string ifRange;
    // Ask for the body only when the server no longer holds the version these name (its ETag,
    // its Last-Modified as it wrote it); it answers 304 when it still does. "" for none.
    std::string ifNoneMatch;
    std::string ifModifiedSince;
    // The page the address was found on; each hop gets what the browsers' default policy
    // lets it see of it (strict-origin-when-cross-origin). "" sends none.
    std::string referrerPage;
};

struct FinishedTransfer {
    std::size_t id = 0;
    TransferResult result;
};

// The one driver of every transfer over libcurl: http, https and ftp only (redirects too, at
// most 10), over one multi handle whose connection cache and HTTP/2 streams all transfers
// share, with one cookie store for the whole program run that is never written to disk.
class TransferEngine {
  public:
    explicit TransferEngine(TransferOptions options = {});
    ~TransferEngine();
    TransferEngine(const TransferEngine&) = delete;
    TransferEngine& operator=(const TransferEngine&) = delete;

    // Starts a transfer; every start is answered by exactly one FinishedTransfer out of a
    // later step(), a refused one included.
    void start(std::size_t id, Request request);
    // Moves every transfer on, waiting at most `wait` for activity; the transfers that ended.
    std::vector<FinishedTransfer> step(std::chrono::milliseconds wait);
    // Ends every transfer at once; nothing is reported for them.
    void abortAll();
    // Ends the running transfer `id` at once; nothing is reported for it.
    void stop(std::size_t id);
    // Bytes the running transfer `id` has handed on so far.
    std::uint64_t received(std::size_t id) const;

    // One transfer, waited for: `progress` is called about every 10 ms, so a window can
    // repaint while a server is silent. Refused while other transfers run.
    TransferResult Fetch(Request request, const TransferProgress& progress = {});
    // Makes the blocking fetch in progress fail at its next turn (safe from its progress
    // callback's event processing, e.g. when the user closes the wait dialog).
    void abort();

    // What lets the bytes of every later transfer in, the blocking fetch's included (nullptr:
    // all of them, as they come). Refused while a transfer runs.
    bool setReceiveGate(std::shared_ptr<ReceiveGate> gate);

    // Reads cookies from a file in the Netscape format for every later transfer; the file is
    // never written. False, with the reason, when it cannot be taken (see LoadCookieFile), and
    // with no reason when `stopped` said so.
    bool loadCookies(const std::string& path, std::string& why,
                     const std::function<bool()>& stopped);
    // The same, from the text of such a file (the page renderer's cookies).
    bool takeCookies(const std::string& text, std::string& why);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// libcurl's process-wide set-up; call once from main before any transfer.
void InitTransfers();

}  // namespace gw::platform
