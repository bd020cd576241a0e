// Fetches one address into memory with the transfer component and prints the wall time and
// the peak resident memory of the whole process, for bench/run-fetch to set beside curl's.
// Usage: bench_fetch_page ADDRESS
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "platform/UrlTransfer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s ADDRESS\n", argv[0]);
        return 2;
    }
    gw::platform::InitTransfers();
    gw::platform::UrlTransfer transfer;
    std::string body;

    const auto start = std::chrono::steady_clock::now();
    const gw::platform::TransferResult result = transfer.OpenURL(argv[1], body);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    if (!result.ok) {
        std::fprintf(stderr, "fetch failed: %s\n", result.error.c_str());
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    // ru_maxrss is in KiB on Linux.
    std::printf("bytes=%zu seconds=%.3f peak_rss_mib=%.1f\n", body.size(), elapsed.count(),
                static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
