#include "transfer/PartFile.h"

#include <fcntl.h>
#include <unistd.h>

namespace gw::transfer {

bool CreateEmptyIfAbsent(const std::string& folder, const std::string& name) {
    if (!NameStaysInFolder(name))
        return false;
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return false;
    // O_EXCL fails on any entry, a dangling symbolic link included, so nothing is followed.
    const int fd = ::openat(folderFd, name.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    const bool created = fd >= 0 && ::close(fd) == 0;
    ::close(folderFd);
    return created;
}

}  // namespace gw::transfer
