// Fetches one page exactly as the wizard does (transfer, temporary page file, read back, line
// rule) and prints the wall time and the peak resident memory of the whole process: the
// wizard's fetch alone, where bench/run-fetch times the command line's, harvest and all.
// Usage: bench_fetch_page ADDRESS
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "harvest/LineRule.h"
#include "platform/TransferEngine.h"
#include "retrieval/PageFetch.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s ADDRESS\n", argv[0]);
        return 2;
    }
    gw::platform::InitTransfers();
    gw::platform::TransferEngine transfer;
    const std::string temp = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                             "/grabwright-bench-temp.tmp";

    const auto start = std::chrono::steady_clock::now();
    gw::retrieval::FetchedPage page = gw::retrieval::FetchPage(transfer, argv[1], temp);
    gw::harvest::ApplyLineRule(page.bytes);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    if (page.outcome != gw::retrieval::FetchOutcome::Fetched) {
        std::fprintf(stderr, "fetch failed: %s\n", page.error.c_str());
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    // ru_maxrss is in KiB on Linux.
    std::printf("bytes=%zu seconds=%.3f peak_rss_mib=%.1f\n", page.bytes.size(), elapsed.count(),
                static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
