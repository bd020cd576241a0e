#pragma once

#include <atomic>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "support/HttpServer.h"

namespace gw::test {

inline constexpr const char* kResumeLastModified = "Sun, 06 Nov 1994 08:49:37 GMT";
inline constexpr std::time_t kResumeLastModifiedTime = 784111777;

// The bytes the download server sends for a file name: every byte value, in a run that
// depends on the name, `size` bytes long.
std::string FileBytes(const std::string& name, std::size_t size = 300 * 1024);

// What /resume/M/N sends on the first request or a later one.
struct ResumeVersion {
    std::string etag;
    std::string bytes;
};
ResumeVersion VersionServed(const std::string& mode, const std::string& name, bool first);

// The digest of `bytes` in lower-case hex, by OpenSSL's name of the algorithm ("SHA256").
std::string HexDigest(const char* algorithm, const std::string& bytes);

// A file server for download tests on 127.0.0.1. Routes, each followed by a file name:
//   /files/N    the file's bytes; a name ending in ".stalled" is accepted and never answered
//   /missing/N  404
//   /reset/N    half the bytes of a longer declared length, then the connection drops
//   /flaky/N    like /reset/N on the first request, the whole file afterwards
//   /busy/N     503 with "Retry-After: 0" on the first request, the whole file afterwards
//   /later/N    like /busy/N, but 429 with "Retry-After: 120"
//   /status/C/N status C without a Location (a body unless 204 or 205)
//   /retry-after/V/N  503 with "Retry-After: V" on the first request, the file afterwards
//   /slow/N     the file in ten pieces 30 ms apart
//   /trickle/N  one byte every 50 ms, never ending
//   /held/N     1000 bytes, then the rest once release() is called
//   /page       the page given to the constructor
//   /cut-page   its first half, then the connection drops
//   /guarded/start  sets a session cookie and redirects to /guarded/page, which links to
//               /guarded/files/g.zip: 403 unless that page is the Referer and the cookie comes
//   /members/page  403 unless the cookie "member=yes" comes; links to /files/m.zip
//   /cookie/N   403 unless the cookie "token=abc" comes (a page's script sets it)
//   /to/P/N     redirects to /files/N on the server at port P
//   /resume/M/N like /reset/N at first (with an ETag, kResumeLastModified and Accept-Ranges);
//               a later "Range: bytes=K-" is answered as M says: "ranges" goes on at K,
//               "ignores" sends the whole file, "elsewhere" goes on at byte 0, "refuses"
//               answers 416; "newer" and "regrown" hold a second version (a new ETag; a new
//               length under a weak ETag), whose bytes go on at K whatever If-Range says;
//               "short" sends only 1000 bytes of the rest at its first ranged answer, "long"
//               5000 bytes more than the range it names
//   /versioned/M/N  20000 bytes of the file's current version (see newVersion()), with an ETag
//               and a Last-Modified of that version (one date for the second and later) as M
//               says ("both", "etag", "date"), and 304 to a request whose If-None-Match (else
//               If-Modified-Since) names it; M "ignores" sends both and never answers 304
//   /text/...   404, unless serve() put something there (sent as text/html for a name ending in
//               ".html", application/json for ".json", text/plain otherwise)
struct Exchange;

class DownloadServer {
  public:
    explicit DownloadServer(std::string pageLinks = {});
    std::string url(const std::string& path) const { return server_->url(path); }
    int port() const { return server_->port(); }
    // How many requests reached `path` so far.
    int hits(const std::string& path);
    void release() { released_ = true; }
    // Every /versioned/ file becomes a new version.
    void newVersion() { ++version_; }
    // Serves `body` at `path` instead of what its route sends; an empty body answers 404.
    void serve(const std::string& path, std::string body);
    // The headers of the last request for `path` ("" when absent).
    struct Heard {
        std::string referer;
        std::string cookie;
        std::string range;
        std::string ifNoneMatch;
        std::string ifModifiedSince;
    };
    Heard heard(const std::string& path);

  private:
    friend struct Exchange;
    int count(const std::string& path);

    std::mutex mutex_;
    std::map<std::string, int> hits_;
    std::map<std::string, Heard> heard_;
    std::map<std::string, std::string> texts_;
    std::string page_;
    std::atomic<bool> released_{false};
    std::atomic<int> version_{1};
    std::unique_ptr<HttpServer> server_;
};

}  // namespace gw::test
