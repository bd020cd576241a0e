#include "platform/FileTags.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "platform/FileReader.h"
#include "platform/FileWriter.h"

namespace gw::platform {
namespace {

constexpr std::size_t kMaxTag = 4096;

FileStamp StampFrom(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_size), info.st_mtim.tv_sec,
            static_cast<std::int32_t>(info.st_mtim.tv_nsec)};
}

// Closes the descriptor on every way out.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

}  // namespace

std::optional<FileStamp> StampOf(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return std::nullopt;
    return StampFrom(info);
}

void SetTags(int fd, const std::vector<FileTag>& tags) {
    for (const FileTag& tag : tags)
        ::fsetxattr(fd, tag.name.c_str(), tag.value.data(), tag.value.size(), 0);
}

std::optional<StandingFile> ReadStandingFile(const std::string& folder, const std::string& name,
                                             const std::vector<std::string>& tagNames) {
    if (!NameStaysInFolder(name))
        return std::nullopt;
    StandingFile standing;
    const Descriptor file{OpenRegularFile(folder + name, standing.stamp)};
    if (file.fd < 0)
        return std::nullopt;
    for (const std::string& tagName : tagNames) {
        std::string value(kMaxTag, '\0');
        const ssize_t size = ::fgetxattr(file.fd, tagName.c_str(), value.data(), value.size());
        if (size >= 0) {
            value.resize(static_cast<std::size_t>(size));
            standing.tags.emplace(tagName, std::move(value));
        }
    }
    return standing;
}

}  // namespace gw::platform
