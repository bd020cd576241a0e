#pragma once

#include <QString>
#include <string>

class QWidget;

namespace gw::ui {

enum class DownloadFlowOutcome {
    Downloaded,        // every file handled, none failed
    DownloadedErrors,  // every file handled, one or more failed
    Cancelled,         // stopped by Cancel between files, or by closing the wait dialog
};

// The wait dialog's caption while file `index` of `count` arrives.
QString DownloadCaption(int index, int count, const std::string& address, bool hangUpAtEnd);

// "Next >>" of the ready page: fetches every selected file into the destination folder behind
// the wait dialog (left loaded for the caller to unload) with the ready page hidden.
DownloadFlowOutcome RunDownload(QWidget* readyPage);

}  // namespace gw::ui
