#include "platform/PrivateFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace gw::platform {
namespace {

std::string fail(std::string* why, const std::string& reason) {
    if (why)
        *why = reason;
    return "";
}

}  // namespace

// A relative $TMPDIR would put the folder wherever the program happens to be started, so it
// counts as unset. The path is kept in a plain array, which outlives the exit handler.
std::string RunFolder(std::string* why) {
    static char path[PATH_MAX] = {};
    static const std::string folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        const std::string pattern =
            std::string(tmp && tmp[0] == '/' ? tmp : "/tmp") + "/grabwright-XXXXXX";
        if (pattern.size() >= sizeof path)
            return std::string();
        pattern.copy(path, pattern.size());
        if (!::mkdtemp(path))
            return std::string();
        std::atexit([] { ::rmdir(path); });
        return std::string(path);
    }();
    if (folder.empty())
        return fail(why, "no private temporary folder could be made");
    return folder;
}

std::string OwnPrivateFolder(const std::string& folder, std::string* why) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(folder).parent_path(), ec);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return fail(why, "cannot make " + folder + ": " + std::strerror(errno));
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return fail(why, "cannot open " + folder + ": " + std::strerror(errno));
    struct stat info {};
    std::string reason;
    if (::fstat(fd, &info) != 0)
        reason = "cannot examine " + folder + ": " + std::strerror(errno);
    else if (info.st_uid != ::geteuid())
        reason = folder + " belongs to another user";
    else if ((info.st_mode & 07777) != 0700 && ::fchmod(fd, 0700) != 0)
        reason = "cannot make " + folder + " private: " + std::strerror(errno);
    ::close(fd);
    return reason.empty() ? folder : fail(why, reason);
}

void RemoveFile(const std::string& path) {
    ::unlink(path.c_str());
}

}  // namespace gw::platform
