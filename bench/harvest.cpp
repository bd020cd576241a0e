// Times the harvest on files that bench/gen_pages.py writes, for bench/run-harvest to set
// beside grep's and Python's figures on the same files.
// Usage: bench_harvest page FILE [SPECIFICATION [ADDRESS [RUNS]]]
//        bench_harvest media FILE [SPECIFICATION [ADDRESS [RUNS]]]  (anchors only, then media,
//                                                              then media on a second thread)
//        bench_harvest dedupe FILE [RUNS]      (FILE: one found entry per line)
#include "harvest/Harvest.h"

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/SideThread.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The processor time of this thread alone (or, with CLOCK_PROCESS_CPUTIME_ID, of all threads):
// on a machine shared with other work, the wall clock also counts the time the harvest waited
// for a core.
double cpuSeconds(clockid_t clock = CLOCK_THREAD_CPUTIME_ID) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double peakRssMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // KiB on Linux
}

bool readFile(const char* path, std::string& content) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    in.seekg(0, std::ios::end);
    content.resize(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    return static_cast<bool>(in.read(content.data(), static_cast<std::streamsize>(content.size())));
}

int benchPage(const char* path, const std::string& fileSpec, const std::string& address, int runs) {
    std::string page;
    if (!readFile(path, page)) {
        std::fprintf(stderr, "cannot read %s\n", path);
        return 1;
    }
    // The floor: one memchr pass for a byte the page does not hold.
    const auto memchrStart = Clock::now();
    const void* volatile hit = std::memchr(page.data(), '\x01', page.size());
    const double memchrSeconds = secondsSince(memchrStart);
    (void)hit;

    const std::string pattern = gw::harvest::BuildMatchPattern(fileSpec);
    double best = 1e9;
    double bestCpu = 1e9;
    gw::harvest::FoundLinks found;
    std::size_t progressCalls = 0;
    for (int run = 0; run < runs; ++run) {
        progressCalls = 0;
        const auto start = Clock::now();
        const double cpuStart = cpuSeconds();
        found = gw::harvest::ScanAnchors(page, address, pattern,
                                         [&](std::size_t, std::size_t) { ++progressCalls; });
        gw::harvest::RemoveDuplicates(found.addresses);
        bestCpu = std::min(bestCpu, cpuSeconds() - cpuStart);
        best = std::min(best, secondsSince(start));
    }
    const double megabytes = static_cast<double>(page.size()) / 1e6;
    std::printf(
        "bytes=%zu seconds=%.4f mb_per_s=%.0f cpu_seconds=%.4f found=%zu dropped=%zu "
        "progress_calls=%zu memchr_seconds=%.4f peak_rss_mib=%.1f peak_per_page=%.2f\n",
        page.size(), best, megabytes / best, bestCpu, found.addresses.size(), found.dropped,
        progressCalls, memchrSeconds, peakRssMiB(),
        peakRssMiB() * 1048576.0 / static_cast<double>(page.size()));
    return 0;
}

// The whole pipeline on the page as one text: anchors only, then with the media reading on the
// same thread (its processor time), then with the media reading on a second thread beside the
// anchor walk, as the wizard runs it (the wall clock, and the processor time of both threads).
// In turns, so that all meet the same state of a shared machine.
int benchMedia(const char* path, const std::string& fileSpec, const std::string& address,
               int runs) {
    std::string page;
    if (!readFile(path, page)) {
        std::fprintf(stderr, "cannot read %s\n", path);
        return 1;
    }
    gw::platform::SideThread side;
    gw::harvest::HarvestOptions options;
    options.patterns = {gw::harvest::BuildMatchPattern(fileSpec)};
    enum { kAnchors, kMedia, kBeside };
    double cpu[3] = {1e9, 1e9, 1e9};
    double wall[3] = {1e9, 1e9, 1e9};
    std::size_t found[3] = {0, 0, 0};
    for (int run = 0; run < runs; ++run) {
        for (const int mode : {kAnchors, kMedia, kBeside}) {
            options.media = mode != kAnchors;
            options.runBeside = nullptr;
            if (mode == kBeside)
                options.runBeside = [&side](const std::function<void()>& beside,
                                            const std::function<void()>& here) {
                    side.Run(beside, here);
                };
            const clockid_t clock =
                mode == kBeside ? CLOCK_PROCESS_CPUTIME_ID : CLOCK_THREAD_CPUTIME_ID;
            const double cpuStart = cpuSeconds(clock);
            const auto start = Clock::now();
            const gw::harvest::Harvest harvest =
                gw::harvest::HarvestPage(page, address, options, {});
            wall[mode] = std::min(wall[mode], secondsSince(start));
            cpu[mode] = std::min(cpu[mode], cpuSeconds(clock) - cpuStart);
            found[mode] = harvest.addresses.size();
        }
    }
    std::printf(
        "anchors_seconds=%.4f media_seconds=%.4f ratio=%.2f anchors_found=%zu "
        "media_found=%zu anchors_wall=%.4f beside_wall=%.4f beside_ratio=%.2f "
        "beside_cpu=%.4f beside_found=%zu\n",
        cpu[kAnchors], cpu[kMedia], cpu[kMedia] / cpu[kAnchors], found[kAnchors], found[kMedia],
        wall[kAnchors], wall[kBeside], wall[kBeside] / wall[kAnchors], cpu[kBeside],
        found[kBeside]);
    return 0;
}

int benchDedupe(const char* path, int runs) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> entries;
    for (std::string line; std::getline(in, line);)
        entries.push_back(line);
    if (entries.empty()) {
        std::fprintf(stderr, "no entries in %s\n", path);
        return 1;
    }
    double best = 1e9;
    std::size_t kept = 0;
    for (int run = 0; run < runs; ++run) {
        std::vector<std::string> copy = entries;
        const auto start = Clock::now();
        gw::harvest::RemoveDuplicates(copy, [](std::size_t, std::size_t) {});
        best = std::min(best, secondsSince(start));
        kept = copy.size();
    }
    std::printf("entries=%zu kept=%zu seconds=%.5f\n", entries.size(), kept, best);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "page" && argc >= 3) {
        return benchPage(argv[2], argc > 3 ? argv[3] : "*.zip",
                         argc > 4 ? argv[4] : "http://127.0.0.1/files/index.html",
                         argc > 5 ? std::atoi(argv[5]) : 3);
    }
    if (mode == "media" && argc >= 3) {
        return benchMedia(argv[2], argc > 3 ? argv[3] : "*",
                          argc > 4 ? argv[4] : "http://127.0.0.1/files/index.html",
                          argc > 5 ? std::atoi(argv[5]) : 3);
    }
    if (mode == "dedupe" && argc >= 3)
        return benchDedupe(argv[2], argc > 3 ? std::atoi(argv[3]) : 5);
    std::fprintf(stderr,
                 "usage: %s page FILE [SPECIFICATION [ADDRESS [RUNS]]]\n"
                 "       %s media FILE [SPECIFICATION [ADDRESS [RUNS]]]\n"
                 "       %s dedupe FILE [RUNS]\n",
                 argv[0], argv[0], argv[0]);
    return 2;
}
