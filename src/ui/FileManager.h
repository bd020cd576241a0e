#pragma once

#include <functional>
#include <string>

namespace gw::ui {

// Opens the folder in the desktop's file manager and returns at once, without waiting for
// it or looking at how the launch went.
void OpenFolderInFileManager(const std::string& folder);

// Tests record the launch instead of having a window open; nullptr restores the real one.
void setFolderOpener(std::function<void(const std::string& folder)> opener);

}  // namespace gw::ui
