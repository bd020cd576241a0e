#include "ui/ChecksumSummary.h"

namespace gw::ui {

QString ChecksumSummary(const std::vector<transfer::FileStatus>& files) {
    using transfer::ChecksumState;
    int listed = 0;
    int matched = 0;
    int differed = 0;
    for (const transfer::FileStatus& file : files) {
        // Only files whose run ended and that a list named count.
        if (!file.finished || file.checksum == ChecksumState::Unlisted)
            continue;
        ++listed;
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
        .arg(listed)
        .arg(listed == 1 ? QStringLiteral("file") : QStringLiteral("files"));
}

}  // namespace gw::ui
