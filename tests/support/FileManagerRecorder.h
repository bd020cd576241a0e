#pragma once

#include <string>
#include <vector>

#include "ui/FileManager.h"

namespace gw::test {

// Notes every folder the program asks the file manager to open, for the life of the object,
// and opens none.
struct FileManagerRecorder {
    std::vector<std::string> opened;
    FileManagerRecorder() {
        ui::setFolderOpener([this](const std::string& folder) { opened.push_back(folder); });
    }
    ~FileManagerRecorder() { ui::setFolderOpener(nullptr); }
    FileManagerRecorder(const FileManagerRecorder&) = delete;
    FileManagerRecorder& operator=(const FileManagerRecorder&) = delete;
};

}  // namespace gw::test
