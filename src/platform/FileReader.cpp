#include "platform/FileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileWriter.h"

namespace gw::platform {

int OpenRegularFile(const std::string& path, FileStamp& stamp) {
    struct stat before {};
    // Asked before the open, so that no device or pipe is ever opened for a look.
    if (::lstat(path.c_str(), &before) != 0 || !S_ISREG(before.st_mode))
        return -1;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat info {};
    // The same file as looked at, not one put there since.
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_dev != before.st_dev || info.st_ino != before.st_ino) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    stamp = {static_cast<std::uint64_t>(info.st_size), info.st_mtim.tv_sec,
             static_cast<std::int32_t>(info.st_mtim.tv_nsec)};
    return fd;
}

FileReader::FileReader(const std::string& folder, const std::string& name) {
    if (NameStaysInFolder(name))
        fd_ = OpenRegularFile(folder + name, stamp_);
}

FileReader::~FileReader() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool FileReader::next(std::string& into, std::size_t most) {
    into.resize(most);
    for (;;) {
        const ssize_t got = fd_ < 0 ? -1 : ::read(fd_, into.data(), most);
        if (got < 0 && errno == EINTR)
            continue;
        into.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        return got >= 0;
    }
}

}  // namespace gw::platform
