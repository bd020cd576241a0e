#include "transfer/ShortcutFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "transfer/FileName.h"

namespace gw::transfer {
namespace {

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A hidden name of our own beside the shortcut. Created exclusively, so a link planted at it
// is never followed; mode 0666 lets the user's umask decide, as for any file they create.
int createTemporary(const std::string& folder, std::string& path) {
    static std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[17];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
        path = folder + ".grabwright-" + suffix + ".part";
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

}  // namespace

std::string ShortcutText(const std::string& address) {
    std::string text = "[InternetShortcut]\r\nURL=";
    for (const char c : address) {
        if (c == '\r')
            text += "%0D";
        else if (c == '\n')
            text += "%0A";
        else
            text += c;
    }
    text += "\r\n";
    return text;
}

bool WriteShortcut(const std::string& folder, const std::string& address) {
    const std::string name = FileNameFromAddress(address) + ".url";
    // The system call would stop at the NUL and write a different file.
    if (name.find('\0') != std::string::npos)
        return false;

    std::string temporary;
    const int fd = createTemporary(folder, temporary);
    if (fd < 0)
        return false;
    // A full disk may only show at close.
    const bool written = writeAll(fd, ShortcutText(address));
    const bool closed = ::close(fd) == 0;
    if (written && closed && ::rename(temporary.c_str(), (folder + name).c_str()) == 0)
        return true;
    ::unlink(temporary.c_str());
    return false;
}

}  // namespace gw::transfer
