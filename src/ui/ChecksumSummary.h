#pragma once

#include <QString>
#include <vector>

#include "transfer/DownloadRun.h"

namespace gw::ui {

// The finished page's line under its message when any file of the run had a checksum on the
// page: how many matched, or only how many did not and were therefore not saved. "" when no
// file had one.
QString ChecksumSummary(const std::vector<transfer::FileStatus>& files);

}  // namespace gw::ui
