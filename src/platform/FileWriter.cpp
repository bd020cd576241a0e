#include "platform/FileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <random>

namespace gw::platform {
namespace {

constexpr int kNameTries = 100;

// Dates the file `when` where its file system holds that date, else by its arrival, now. The
// kernel clamps a date out of the file system's range without a word (ext4 ends in 2446), so
// the date is read back.
bool DateFile(int fd, std::chrono::sys_seconds when) {
    const timespec server[2] = {{0, UTIME_OMIT}, {when.time_since_epoch().count(), 0}};
    struct stat info {};
    if (::futimens(fd, server) == 0 && ::fstat(fd, &info) == 0 &&
        info.st_mtim.tv_sec == server[1].tv_sec)
        return true;
    const timespec now[2] = {{0, UTIME_OMIT}, {0, UTIME_NOW}};
    return ::futimens(fd, now) == 0;
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

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool NameStaysInFolder(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('\0') == std::string::npos &&
           name.find('/') == std::string::npos;
}

FileWriter::FileWriter(const std::string& folder, const std::string& name, FileAccess access)
    : access_(access), folder_(folder), name_(name) {
    if (!NameStaysInFolder(name)) {
        error_ = "the name \"" + name.substr(0, name.find('\0')) + "\" cannot stand in a folder";
        return;
    }
    folderFd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd_ < 0) {
        error_ = Reason("the folder cannot be opened");
        return;
    }
    // Asked now, not at the rename: a name the folder cannot hold would otherwise cost the
    // whole transfer before it failed.
    struct stat existing {};
    if (::fstatat(folderFd_, name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) != 0 &&
        errno == ENAMETOOLONG) {
        error_ = Reason("the name is longer than the folder allows");
        return;
    }
    for (int i = 0; i < kNameTries && fd_ < 0; ++i) {
        partName_ = std::string(kPartPrefix) + RandomSuffix() + ".part";
        fd_ = ::openat(folderFd_, partName_.c_str(),
                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                       access == FileAccess::OwnerOnly ? 0600 : 0666);
        if (fd_ < 0 && errno != EEXIST)
            break;
    }
    if (fd_ < 0) {
        error_ = Reason("no temporary file can be made in the folder");
        partName_.clear();
        return;
    }
    partPath_ = folder + partName_;
    underWay_ = FileUnderWay(partPath_);
}

FileWriter::~FileWriter() {
    discard();
    if (folderFd_ >= 0)
        ::close(folderFd_);
}

void FileWriter::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!partPath_.empty()) {
        // A suspended file has no folder descriptor; its path still names it.
        if (folderFd_ >= 0)
            ::unlinkat(folderFd_, partName_.c_str(), 0);
        else
            ::unlink(partPath_.c_str());
        forget();
    }
}

void FileWriter::forget() {
    underWay_.release();
    partPath_.clear();
}

bool FileWriter::fail(const std::string& what) {
    error_ = Reason(what.c_str());
    discard();
    return false;
}

bool FileWriter::restart() {
    if (fd_ < 0)
        return false;
    if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0)
        return fail("the temporary file cannot be emptied");
    size_ = 0;
    return true;
}

bool FileWriter::write(const char* data, std::size_t size) {
    if (fd_ < 0)
        return false;
    if (!WriteAll(fd_, data, size))
        return fail("the file cannot be written");
    size_ += size;
    return true;
}

void FileWriter::suspend() {
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0) {
        discard();
        return;
    }
    device_ = info.st_dev;
    inode_ = info.st_ino;
    ::close(fd_);
    fd_ = -1;
    ::close(folderFd_);
    folderFd_ = -1;
}

bool FileWriter::resume() {
    if (fd_ >= 0)
        return true;
    if (partPath_.empty())
        return false;
    folderFd_ = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd_ < 0)
        return fail("the folder cannot be opened");
    // Never created anew and never followed: only the very file this writer made will do.
    fd_ = ::openat(folderFd_, partName_.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    struct stat info {};
    const bool ours =
        fd_ >= 0 && ::fstat(fd_, &info) == 0 && info.st_dev == device_ && info.st_ino == inode_;
    if (!ours) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
        error_ = "the temporary file was changed between tries";
        // Whatever stands at the name now is not this writer's to remove.
        forget();
        return false;
    }
    if (static_cast<std::uint64_t>(info.st_size) != size_ || ::lseek(fd_, 0, SEEK_END) < 0) {
        errno = EIO;
        return fail("the temporary file was changed between tries");
    }
    return true;
}

bool FileWriter::commit() {
    if (fd_ < 0)
        return false;
    underWay_.goingIntoPlace(folder_ + name_);
    struct stat old {};
    const bool replacing =
        ::fstatat(folderFd_, name_.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT;
    if (access_ == FileAccess::OwnerOnly) {
        if (::fchmod(fd_, 0600) != 0)
            return fail("the file cannot be made private");
    } else if (replacing && S_ISREG(old.st_mode) && ::fchmod(fd_, old.st_mode & 0777) != 0) {
        return fail("the old file's permissions cannot be kept");
    }
    if (modified_ && !DateFile(fd_, *modified_))
        return fail("the file's date cannot be set");
    if (tags_) {
        if (const std::optional<FileStamp> left = StampOf(fd_))
            SetTags(fd_, tags_(*left));
    }
    // Without the flush a crash soon after the rename can leave an empty file where the old
    // one stood. A new name has nothing to lose, and a thousand small files would each wait.
    if (replacing && ::fsync(fd_) != 0)
        return fail("the file cannot be flushed");
    const int fd = fd_;
    fd_ = -1;
    // The close is where some file systems report a full disk; only then is the file whole.
    if (::close(fd) != 0)
        return fail("the file cannot be closed");
    if (::renameat(folderFd_, partName_.c_str(), folderFd_, name_.c_str()) != 0)
        return fail("the file cannot be put in place");
    forget();
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

}  // namespace gw::platform
