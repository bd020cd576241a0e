#include "platform/Folders.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>

namespace gw::platform {
namespace {

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int compareIgnoringCase(const std::string& a, const std::string& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const int x = std::tolower(static_cast<unsigned char>(a[i]));
        const int y = std::tolower(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace

bool IsOpenableFolder(const std::string& path) {
    if (path.empty() || !isFolder(path))
        return false;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(path.c_str()), ::closedir);
    return dir != nullptr;
}

std::vector<std::string> ListSubfolders(const std::string& folder,
                                        const std::vector<Volume>& volumes) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir)
        return names;
    const std::string prefix = folder.empty() || folder.back() != '/' ? folder + "/" : folder;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name.empty() || name[0] == '.')
            continue;
        const bool maybeLink = entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN;
        const bool folderEntry =
            entry->d_type == DT_DIR ||
            (maybeLink && (OnNetworkVolume(volumes, PathBehindLinks(volumes, prefix + name)) ||
                           isFolder(prefix + name)));
        if (folderEntry)
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const int order = compareIgnoringCase(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

bool CreateOneFolder(const std::string& path) {
    return !path.empty() && ::mkdir(path.c_str(), 0777) == 0;
}

std::string FollowedLink(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    const std::unique_ptr<char, decltype(&std::free)> target(::realpath(path.c_str(), nullptr),
                                                             &std::free);
    return target ? std::string(target.get()) : path;
}

}  // namespace gw::platform
