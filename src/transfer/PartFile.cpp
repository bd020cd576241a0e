#include "transfer/PartFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <random>
#include <set>

namespace gw::transfer {
namespace {

constexpr int kNameTries = 100;

// Part files still open in this process, removed by exit() if nothing else removed them
// (the wizard's quit ends the program while a file may be arriving).
struct LiveParts {
    std::mutex mutex;
    std::set<std::string> paths;
};

LiveParts& liveParts() {
    static LiveParts* parts = [] {
        auto* made = new LiveParts;  // never destroyed, so the exit handler can still use it
        std::atexit([] {
            const std::lock_guard lock(liveParts().mutex);
            for (const std::string& path : liveParts().paths)
                ::unlink(path.c_str());
        });
        return made;
    }();
    return *parts;
}

std::string RandomSuffix() {
    static std::mutex mutex;
    static std::mt19937_64 engine{std::random_device{}()};
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const std::lock_guard lock(mutex);
    std::string suffix;
    for (int i = 0; i < 10; ++i)
        suffix += letters[engine() % (sizeof letters - 1)];
    return suffix;
}

std::string Reason(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

bool NameStaysInFolder(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('\0') == std::string::npos &&
           name.find('/') == std::string::npos;
}

PartFile::PartFile(const std::string& folder, const std::string& name) : name_(name) {
    if (!NameStaysInFolder(name)) {
        error_ = "the name \"" + name.substr(0, name.find('\0')) + "\" cannot stand in a folder";
        return;
    }
    folderFd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd_ < 0) {
        error_ = Reason("the folder cannot be opened");
        return;
    }
    for (int i = 0; i < kNameTries && fd_ < 0; ++i) {
        partName_ = std::string(kPartPrefix) + RandomSuffix() + ".part";
        // 0666 and no fchmod: the user's umask decides, as for any file a program makes.
        fd_ = ::openat(folderFd_, partName_.c_str(),
                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST)
            break;
    }
    if (fd_ < 0) {
        error_ = Reason("no temporary file can be made in the folder");
        partName_.clear();
        return;
    }
    partPath_ = folder + partName_;
    const std::lock_guard lock(liveParts().mutex);
    liveParts().paths.insert(partPath_);
}

PartFile::~PartFile() {
    discard();
    if (folderFd_ >= 0)
        ::close(folderFd_);
}

void PartFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!partPath_.empty()) {
        ::unlinkat(folderFd_, partName_.c_str(), 0);
        const std::lock_guard lock(liveParts().mutex);
        liveParts().paths.erase(partPath_);
        partPath_.clear();
    }
}

bool PartFile::fail(const std::string& what) {
    error_ = Reason(what.c_str());
    discard();
    return false;
}

bool PartFile::restart() {
    if (fd_ < 0)
        return false;
    if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0)
        return fail("the temporary file cannot be emptied");
    return true;
}

bool PartFile::write(const char* data, std::size_t size) {
    if (fd_ < 0)
        return false;
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return fail("the file cannot be written");
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool PartFile::commit() {
    if (fd_ < 0)
        return false;
    struct stat old {};
    if (::fstatat(folderFd_, name_.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(old.st_mode) && ::fchmod(fd_, old.st_mode & 0777) != 0)
        return fail("the old file's permissions cannot be kept");
    const int fd = fd_;
    fd_ = -1;
    // The close is where some file systems report a full disk; only then is the file whole.
    if (::close(fd) != 0)
        return fail("the file cannot be closed");
    if (::renameat(folderFd_, partName_.c_str(), folderFd_, name_.c_str()) != 0)
        return fail("the file cannot be put in place");
    const std::lock_guard lock(liveParts().mutex);
    liveParts().paths.erase(partPath_);
    partPath_.clear();
    return true;
}

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
