#include "platform/ScratchFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileWriter.h"

namespace gw::platform {
namespace {

// A large page is mostly first-touch page faults when read into fresh memory; in huge pages
// they are a few hundred instead of hundreds of thousands. Only a hint: the kernel may say no.
void preferHugePages(std::string& bytes) {
    // Smaller buffers live in the heap, which the hint would only cut into pieces.
    constexpr std::size_t kWorthIt = std::size_t{8} << 20;
    if (bytes.capacity() < kWorthIt)
        return;
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(bytes.data());
    const std::uintptr_t first = (begin + page - 1) / page * page;
    const std::uintptr_t last = (begin + bytes.capacity()) / page * page;
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace

// O_EXCL | O_NOFOLLOW make the create fail, never follow, if something is put back at the
// name between the unlink and the open.
ScratchFile::ScratchFile(const std::string& path) : path_(path) {
    ::unlink(path.c_str());
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd_ < 0)
        error_ = errno;
    else
        underWay_ = FileUnderWay(path);
}

ScratchFile::~ScratchFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool ScratchFile::write(const char* data, std::size_t size) {
    if (!WriteAll(fd_, data, size)) {
        error_ = errno;
        return false;
    }
    size_ += size;
    return true;
}

bool ScratchFile::readBack(std::string& bytes) {
    const auto size = static_cast<std::size_t>(size_);
    bytes.reserve(size);
    preferHugePages(bytes);
    bytes.resize(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got =
            ::pread(fd_, bytes.data() + done, size - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            error_ = got < 0 ? errno : EIO;
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

void ScratchFile::remove() {
    ::unlink(path_.c_str());
    underWay_.release();
}

}  // namespace gw::platform
