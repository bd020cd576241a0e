#pragma once

#include <QStringList>
#include <vector>

#include "transfer/DownloadRun.h"

namespace gw::ui {

// The finished page's lines under its message on what the page's checksum lists proved: how
// many of the files that arrived were verified (when a list named any of them), and how many
// did not match and were therefore not saved. None when no list named a file that arrived or
// was refused.
QStringList ChecksumSummary(const std::vector<transfer::FileStatus>& files);

}  // namespace gw::ui
