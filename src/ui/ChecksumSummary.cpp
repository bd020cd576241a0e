#include "ui/ChecksumSummary.h"

namespace gw::ui {

QString ChecksumSummary(const std::vector<transfer::FileStatus>& files) {
    using transfer::ChecksumState;
    int fetched = 0;
    int listed = 0;
    int matched = 0;
    int differed = 0;
    for (const transfer::FileStatus& file : files) {
        // A copy the server confirmed was not fetched, so it was not checked either.
        if (file.result.outcome == transfer::FileOutcome::Unchanged)
            continue;
        ++fetched;
        listed += file.checksum != ChecksumState::Unlisted;
        matched += file.checksum == ChecksumState::Matched;
        differed += file.checksum == ChecksumState::Differed;
    }
    if (listed == 0)
        return {};
    if (differed > 0)
        return differed == 1
                   ? QStringLiteral(
                         "1 file did not match the checksums published on the page and was not "
                         "saved.")
                   : QStringLiteral(
                         "%1 files did not match the checksums published on the page and were "
                         "not saved.")
                         .arg(differed);
    return QStringLiteral("%1 of %2 %3 matched the checksums published on the page.")
        .arg(matched)
        .arg(fetched)
        .arg(fetched == 1 ? QStringLiteral("file") : QStringLiteral("files"));
}

}  // namespace gw::ui
