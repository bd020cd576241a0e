#include "platform/CurlSetup.h"

#include <algorithm>

#include "ProjectVersion.h"

namespace gw::platform {
namespace {

constexpr const char* kAllowedSchemes = "http,https,ftp";
// Large pages and downloads arrive in fewer, bigger pieces than with libcurl's 16 KiB.
constexpr std::size_t kReceiveBufferBytes = 256 * 1024;

}  // namespace

bool ConfigureEasy(CURL* easy, const TransferOptions& options, std::size_t readBytes,
                   char* errorBuffer) {
    bool ok = true;
    const auto set = [&](CURLoption option, auto value) {
        ok = ok && curl_easy_setopt(easy, option, value) == CURLE_OK;
    };
    set(CURLOPT_ERRORBUFFER, errorBuffer);
    // Redirects are followed hop by hop by the engine, each hop a new address that this
    // list restricts too, so no answer can lead to file:// or any other protocol.
    set(CURLOPT_PROTOCOLS_STR, kAllowedSchemes);
    set(CURLOPT_FOLLOWLOCATION, 0L);
    set(CURLOPT_CONNECTTIMEOUT, options.connectTimeoutSeconds);
    set(CURLOPT_LOW_SPEED_LIMIT, 1L);
    set(CURLOPT_LOW_SPEED_TIME, options.lowSpeedTimeSeconds);
    set(CURLOPT_USERAGENT, kUserAgent);
    // A server's error page is never taken for the resource: status 400 and up fails before
    // any of its body reaches the caller.
    set(CURLOPT_FAILONERROR, 1L);
    set(CURLOPT_SSL_VERIFYPEER, 1L);
    set(CURLOPT_SSL_VERIFYHOST, 2L);
    // CAINFO replaces only the bundle file; the hashed system folder (CAPATH) stays in use,
    // so the extra authority is trusted on top of the system store.
    if (!options.extraCaFile.empty())
        set(CURLOPT_CAINFO, options.extraCaFile.c_str());
    // Threads may run the transfer; no signals for name-resolution time-outs.
    set(CURLOPT_NOSIGNAL, 1L);
    const std::size_t buffer =
        readBytes > 0 ? std::min(readBytes, kReceiveBufferBytes) : kReceiveBufferBytes;
    set(CURLOPT_BUFFERSIZE, static_cast<long>(buffer));
    // No CURLOPT_PIPEWAIT: a transfer told to wait for a connection that might multiplex
    // can wait behind a stalled HTTP/1.1 transfer to the same server until that one ends.
    // The cookie engine on, in memory only: no file is named to write them to.
    set(CURLOPT_COOKIEFILE, "");
    return ok;
}

}  // namespace gw::platform
