#pragma once

#include <QString>
#include <vector>

#include "transfer/DownloadRun.h"

namespace gw::ui {

// The finished page's line under its message when a list on the page named any file whose run
// ended: how many of those matched, or only how many did not and were therefore not saved. ""
// when no such file.
QString ChecksumSummary(const std::vector<transfer::FileStatus>& files);

}  // namespace gw::ui
