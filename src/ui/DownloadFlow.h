#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

class QWidget;

namespace gw::ui {

enum class DownloadFlowOutcome {
    Downloaded,        // every file handled, none failed
    DownloadedErrors,  // every file handled, one or more failed
    Cancelled,         // stopped by Cancel between files, or by closing the wait dialog
};

struct DownloadFlowReport {
    DownloadFlowOutcome outcome = DownloadFlowOutcome::Downloaded;
    // Files whose copy in the folder the server confirmed, left as they were.
    std::size_t upToDate = 0;
    // Lines for under the finished page's message, each about a part of the run.
    QStringList notes;
};

// How often the wait dialog's figures change during a download: as often as they can be read.
inline constexpr std::chrono::milliseconds kFiguresInterval{250};

// The note on files whose copy in the folder the server confirmed, so that none was fetched
// again; "" when there were none.
QString UpToDateNote(std::size_t count);

// The wait dialog's caption while file `index` of `count` arrives.
QString DownloadCaption(int index, int count, const std::string& address, bool hangUpAtEnd);

// "Next >>" of the ready page: fetches every selected file into the destination folder behind
// the wait dialog (left loaded for the caller to unload) with the ready page hidden; every
// transfer of the run together receives at most `bytesPerSecond` (0: no limit).
DownloadFlowReport RunDownload(QWidget* readyPage, std::uint64_t bytesPerSecond);

}  // namespace gw::ui
