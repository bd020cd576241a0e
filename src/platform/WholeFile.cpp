#include "platform/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace gw::platform {

FileBytes ReadWholeFile(const std::string& path, std::uint64_t limit) {
    FileBytes file;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0) {
        file.error = errno;
        // A file that is there but cannot be opened still counts as a file that was not read
        // whole; a socket, which cannot be opened at all, is no file.
        if (errno != ENOENT && errno != ENOTDIR)
            file.kind = ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)
                            ? FileKind::Other
                            : FileKind::Regular;
        return file;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        file.kind = FileKind::Other;
        ::close(fd);
        return file;
    }
    file.kind = FileKind::Regular;
    file.tooLarge = static_cast<std::uint64_t>(info.st_size) > limit;
    // One allocation of the right size; the size is only a hint, the file may still grow.
    if (!file.tooLarge)
        file.bytes.reserve(static_cast<std::size_t>(std::min<off_t>(info.st_size, off_t{1} << 28)));
    char buffer[65536];
    while (!file.tooLarge) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            file.error = errno;
        if (got == 0)
            file.complete = true;
        if (got <= 0)
            break;
        file.bytes.append(buffer, static_cast<std::size_t>(got));
        file.tooLarge = file.bytes.size() > limit;
    }
    ::close(fd);
    return file;
}

bool KeepCopy(const std::string& path, const std::string& backup) {
    if (::unlink(backup.c_str()) != 0 && errno != ENOENT)
        return false;
    // A second name for the same file keeps even bytes that could not be read; the file's
    // own name is about to move to a new file.
    if (::link(path.c_str(), backup.c_str()) != 0) {
        std::error_code ec;
        if (!std::filesystem::copy_file(path, backup, ec))
            return false;
    }
    return ::chmod(backup.c_str(), 0600) == 0;
}

}  // namespace gw::platform
