#include "ui/ChecksumSummary.h"

namespace gw::ui {

QStringList ChecksumSummary(const std::vector<transfer::FileStatus>& files) {
    using transfer::ChecksumState;
    int arrived = 0;
    int arrivedListed = 0;
    int verified = 0;
    int differed = 0;
    for (const transfer::FileStatus& file : files) {
        if (!file.finished)
            continue;
        // Counted as the command line's summary counts them: a copy the server confirmed did
        // not arrive, and is told of in a note of its own.
        if (file.result.outcome == transfer::FileOutcome::Written) {
            ++arrived;
            arrivedListed += file.checksum != ChecksumState::Unlisted;
            verified += file.checksum == ChecksumState::Matched;
        }
        differed += file.checksum == ChecksumState::Differed;
    }
    QStringList notes;
    if (arrivedListed > 0)
        notes << (arrived == 1
                      ? QStringLiteral("%1 of 1 file that arrived was verified against the "
                                       "checksums published on the page.")
                            .arg(verified)
                      : QStringLiteral("%1 of %2 files that arrived were verified against the "
                                       "checksums published on the page.")
                            .arg(verified)
                            .arg(arrived));
    if (differed == 1)
        notes << QStringLiteral(
            "1 file did not match the checksums published on the page and was not saved.");
    else if (differed > 1)
        notes << QStringLiteral(
                     "%1 files did not match the checksums published on the page and were not "
                     "saved.")
                     .arg(differed);
    return notes;
}

}  // namespace gw::ui
