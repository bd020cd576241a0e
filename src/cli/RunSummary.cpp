#include "cli/RunSummary.h"

#include <cstdio>

namespace gw::cli {
namespace {

// The numeric locale is never set, so the decimal sign is always ".".
std::string OneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string Rate(double bytesPerSecond) {
    static const char* const units[] = {"bytes/s", "kB/s", "MB/s", "GB/s"};
    std::size_t unit = 0;
    while (bytesPerSecond >= 1000 && unit + 1 < std::size(units)) {
        bytesPerSecond /= 1000;
        ++unit;
    }
    return OneDecimal(bytesPerSecond) + " " + units[unit];
}

}  // namespace

std::string RunSummary(const std::vector<transfer::FileStatus>& files,
                       std::chrono::steady_clock::duration took, bool terminal,
                       std::size_t renamed) {
    std::size_t arrived = 0;
    std::size_t unchanged = 0;
    std::size_t verified = 0;
    std::size_t notStarted = 0;
    std::uint64_t bytes = 0;
    for (const transfer::FileStatus& file : files) {
        notStarted += !file.started;
        if (!file.finished)
            continue;
        if (file.result.outcome == transfer::FileOutcome::Written) {
            ++arrived;
            verified += file.checksum == transfer::ChecksumState::Matched;
            bytes += file.bytes;
        }
        unchanged += file.result.outcome == transfer::FileOutcome::Unchanged;
    }
    const double seconds = std::chrono::duration<double>(took).count();
    std::string line = "grabwright-cli: " + std::to_string(arrived) +
                       (arrived == 1 ? " file arrived" : " files arrived");
    if (verified > 0)
        line += " (" + std::to_string(verified) + " verified)";
    if (unchanged > 0)
        line += ", " + std::to_string(unchanged) + " unchanged";
    line += ", " + std::to_string(files.size() - arrived - unchanged - notStarted) + " failed";
    // Scripts read the line: a new count comes after the old ones, and only when it is not 0.
    if (notStarted > 0)
        line += ", " + std::to_string(notStarted) + " not started";
    if (renamed > 0)
        line += ", " + std::to_string(renamed) + " renamed";
    line += ", " + std::to_string(bytes) + " bytes in " + OneDecimal(seconds) + " s";
    if (terminal && seconds > 0)
        line += " (" + Rate(static_cast<double>(bytes) / seconds) + ")";
    return line;
}

}  // namespace gw::cli
