#pragma once

#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/UserFolders.h"

namespace gw::test {

inline std::filesystem::path SettingsPath() {
    return std::filesystem::path(platform::ConfigFolder()) / "grabwright.ini";
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Names in the folder, the settings file included: a failed write must leave no temporaries.
inline int FilesIn(const std::filesystem::path& folder) {
    std::error_code ec;
    int count = 0;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; ++it)
        ++count;
    return count;
}

// Counts the times a new file takes the name grabwright.ini from now on: each replace of the
// settings file is one rename into its folder.
class ReplaceCounter {
  public:
    ReplaceCounter() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        std::filesystem::create_directories(SettingsPath().parent_path());
        ::inotify_add_watch(fd_, SettingsPath().parent_path().c_str(), IN_MOVED_TO | IN_CREATE);
    }
    ~ReplaceCounter() { ::close(fd_); }
    ReplaceCounter(const ReplaceCounter&) = delete;
    ReplaceCounter& operator=(const ReplaceCounter&) = delete;

    int replaces() {
        alignas(inotify_event) char buffer[65536];
        for (ssize_t got; (got = ::read(fd_, buffer, sizeof buffer)) > 0;) {
            for (char* at = buffer; at < buffer + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if (event->len && std::string(event->name) == "grabwright.ini")
                    ++replaces_;
                at += sizeof(inotify_event) + event->len;
            }
        }
        return replaces_;
    }

  private:
    int fd_;
    int replaces_ = 0;
};

}  // namespace gw::test
