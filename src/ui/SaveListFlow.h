#pragma once

#include <QString>
#include <string>
#include <vector>

#include "transfer/FileList.h"

class QWidget;

namespace gw::ui {

// The format a file name's ending asks for: ".meta4" Metalink, ".aria2" aria2's input file,
// anything else one address a line.
transfer::FileListFormat ListFormatForPath(const QString& path);

// "Save List..." of Step 3: writes the ticked `addresses` to `path`, with the names, Referers
// and the page's hashes that a download would use; the page's checksum lists are read behind
// the wait dialog, with `page` hidden meanwhile. "" when the list is written; else the message
// for the error page, and nothing at `path` has changed.
QString RunSaveList(QWidget* page, const std::vector<std::string>& addresses, const QString& path);

}  // namespace gw::ui
