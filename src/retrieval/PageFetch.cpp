#include "retrieval/PageFetch.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/FileWriter.h"

namespace gw::retrieval {
namespace {

// The page file is always a new one: a link planted at the name is removed rather than
// written through, and a fifo rather than waited on. O_EXCL | O_NOFOLLOW make the create
// fail, never follow, if something is put back at the name in between.
int createFresh(const std::string& path) {
    ::unlink(path.c_str());
    return ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
}

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

// Read through the descriptor that wrote the page, so what is read is that file and nothing
// planted since; one buffer of the final size, filled once.
bool readBack(int fd, std::string& bytes, std::size_t size) {
    bytes.reserve(size);
    preferHugePages(bytes);
    bytes.resize(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, bytes.data() + done, size - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done == size;
}

FetchedPage failed(std::string why) {
    FetchedPage page;
    page.error = std::move(why);
    return page;
}

FetchedPage readPage(int fd, const std::string& tempFile, std::uint64_t size) {
    FetchedPage page;
    if (size == 0) {
        page.outcome = FetchOutcome::Empty;
        return page;
    }
    if (!readBack(fd, page.bytes, static_cast<std::size_t>(size)))
        return failed("cannot read " + tempFile + ": " + std::strerror(errno));
    ::unlink(tempFile.c_str());
    page.outcome = FetchOutcome::Fetched;
    return page;
}

}  // namespace

std::string PageAddressFor(const std::string& typed) {
    if (!typed.empty() && typed.back() == '/')
        return typed;
    return typed + "/";
}

FetchedPage FetchPage(platform::TransferEngine& transfer, const std::string& requestAddress,
                      const std::string& tempFile, const platform::TransferProgress& progress) {
    const int fd = createFresh(tempFile);
    if (fd < 0)
        return failed("cannot write " + tempFile + ": " + std::strerror(errno));

    platform::Request request;
    request.address = requestAddress;
    request.maxBodyBytes = kMaxPageBytes;
    // A server may send the page compressed, asked or not; the page is the decoded one.
    request.acceptCompressed = true;
    std::uint64_t size = 0;
    int writeError = 0;
    request.sink = [&](const char* data, std::size_t length) {
        if (!platform::WriteAll(fd, data, length)) {
            writeError = errno;
            return false;
        }
        size += length;
        return true;
    };
    const platform::TransferResult result = transfer.Fetch(std::move(request), progress);

    FetchedPage page;
    if (writeError != 0)
        page = failed("cannot write " + tempFile + ": " + std::strerror(writeError));
    else if (!result.ok)
        page = failed(result.error);
    else
        page = readPage(fd, tempFile, size);
    ::close(fd);
    // As typed, unless a redirect moved the page elsewhere.
    if (page.outcome != FetchOutcome::Failed)
        page.fetchedAddress = result.redirected && !result.finalAddress.empty()
                                  ? result.finalAddress
                                  : requestAddress;
    return page;
}

}  // namespace gw::retrieval
