#pragma once

#include <string>
#include <vector>

#include "platform/FileManager.h"

namespace gw::test {

// Notes every folder the program asks the file manager to open, for the life of the object,
// and opens none.
struct FileManagerRecorder {
    std::vector<std::string> opened;
    FileManagerRecorder() {
        platform::setFolderOpener([this](const std::string& folder) { opened.push_back(folder); });
    }
    ~FileManagerRecorder() { platform::setFolderOpener(nullptr); }
    FileManagerRecorder(const FileManagerRecorder&) = delete;
    FileManagerRecorder& operator=(const FileManagerRecorder&) = delete;
};

}  // namespace gw::test
