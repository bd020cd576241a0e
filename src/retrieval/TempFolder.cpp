#include "retrieval/TempFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/UserFolders.h"

namespace gw::retrieval {
namespace {

std::string fail(std::string* why, const std::string& reason) {
    if (why)
        *why = reason;
    return "";
}

// Made once per run under $TMPDIR or /tmp with a name no one can guess or make first, and
// removed at the end of the run unless a failed fetch left its page file in it. A relative
// $TMPDIR would put it wherever the program happens to be started, so it counts as unset.
// Kept in a plain array, which outlives the exit handler.
std::string runFolder(std::string* why) {
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

// A folder another user made first could be read or swapped under us.
std::string ownFolder(const std::string& folder, std::string* why) {
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

}  // namespace

std::string PrivateTempFolder(std::string* why) {
    const std::string cache = platform::CacheFolder();
    return cache.empty() ? runFolder(why) : ownFolder(cache + "/grabwright", why);
}

std::string WizardTempFile(std::string* why) {
    const std::string folder = PrivateTempFolder(why);
    return folder.empty() ? "" : folder + "/temp.tmp";
}

}  // namespace gw::retrieval
