#include "retrieval/PageFetch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/UserFolders.h"
#include "retrieval/PageText.h"

namespace gw::retrieval {
namespace {

// O_NOFOLLOW: a symbolic link planted at the fixed name must not redirect the write.
int openNoFollow(const std::string& path, int flags) {
    return ::open(path.c_str(), flags | O_NOFOLLOW | O_CLOEXEC, 0600);
}

bool writeAll(const std::string& path, const std::string& bytes) {
    const int fd = openNoFollow(path, O_WRONLY | O_CREAT | O_TRUNC);
    if (fd < 0)
        return false;
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            ::close(fd);
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return ::close(fd) == 0;
}

bool readAll(const std::string& path, std::string& bytes) {
    const int fd = openNoFollow(path, O_RDONLY);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    // A file that changed length under us is not the page that was fetched.
    return done == bytes.size();
}

FetchedPage failed(std::string why) {
    FetchedPage page;
    page.error = std::move(why);
    return page;
}

}  // namespace

std::string PageAddressFor(const std::string& typed) {
    if (!typed.empty() && typed.back() == '/')
        return typed;
    return typed + "/";
}

std::string WizardTempFile() {
    const std::string cache = platform::CacheFolder();
    return (cache.empty() ? std::string("/tmp") : cache) + "/grabwright/temp.tmp";
}

FetchedPage FetchPage(platform::UrlTransfer& transfer, const std::string& requestAddress,
                      const std::string& tempFile, const platform::TransferProgress& progress) {
    platform::Request request;
    request.progress = progress;
    request.maxBodyBytes = kMaxPageBytes;
    // A server may send the page compressed, asked or not; the page text is the decoded one.
    request.acceptCompressed = true;
    std::string body;
    const platform::TransferResult result = transfer.FetchToMemory(requestAddress, body, request);
    if (!result.ok)
        return failed(result.error);

    std::error_code ec;
    const auto folder = std::filesystem::path(tempFile).parent_path();
    if (!folder.empty()) {
        // A folder made here is the user's alone; an existing one is left as it is.
        if (std::filesystem::create_directories(folder, ec))
            std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);
    }
    if (!writeAll(tempFile, body))
        return failed("cannot write " + tempFile + ": " + std::strerror(errno));
    FetchedPage page;
    // The page is read back into the memory that received it: one copy of a large page at a
    // time, and no second round of fresh pages for the kernel to hand out.
    page.text = std::move(body);
    page.text.clear();
    // As typed, unless a redirect moved the page elsewhere.
    page.fetchedAddress =
        result.redirected && !result.finalAddress.empty() ? result.finalAddress : requestAddress;
    if (!readAll(tempFile, page.text))
        return failed("cannot read " + tempFile);
    if (page.text.empty()) {
        page.outcome = FetchOutcome::Empty;
        return page;
    }
    ::unlink(tempFile.c_str());
    ApplyLineRule(page.text);
    page.outcome = FetchOutcome::Fetched;
    return page;
}

}  // namespace gw::retrieval
