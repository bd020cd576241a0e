#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <chrono>
#include <string>
#include <vector>

#include "transfer/DownloadRun.h"

namespace gw::ui {

struct RunCounts {
    int downloaded = 0;  // arrived in the folder in this run
    int upToDate = 0;    // the copy in the folder was the server's file, left as it was
    int failed = 0;
};
RunCounts CountFiles(const std::vector<transfer::FileStatus>& files);

// "Downloads finished", or "Downloads finished with failures".
QString RunEndSummary(RunCounts counts);
// "12 files downloaded to Downloads, 2 already up to date, 1 failed.": the folder by its last
// name, the last two counts only where not 0.
QString RunEndText(RunCounts counts, const std::string& folder);

// Made as a download run starts. A run that took long while the user worked in another
// window ends with a desktop notice, whose button opens the folder as Finish would.
class RunEndNotice {
  public:
    static constexpr std::chrono::seconds kLongRun{10};

    explicit RunEndNotice(QWidget* window);
    // The run handled every file (not when it was cancelled or aborted).
    void ranToEnd(const std::vector<transfer::FileStatus>& files, const std::string& folder) const;

  private:
    QPointer<QWidget> window_;
    std::chrono::steady_clock::time_point started_;
};

}  // namespace gw::ui
