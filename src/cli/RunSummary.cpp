#include "cli/RunSummary.h"

#include "transfer/TransferFigures.h"

namespace gw::cli {

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
    line += ", " + std::to_string(bytes) + " bytes in " + transfer::OneDecimal(seconds) + " s";
    if (terminal && seconds > 0)
        line += " (" + transfer::RateText(static_cast<double>(bytes) / seconds) + ")";
    return line;
}

}  // namespace gw::cli
