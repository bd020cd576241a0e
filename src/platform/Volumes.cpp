#include "platform/Volumes.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <deque>
#include <fstream>
#include <set>
#include <sstream>

namespace gw::platform {
namespace {

// Kernel interfaces and helpers, never a place for the user's files.
// Read-only images (snap packages, live systems) cannot receive files either.
const std::set<std::string, std::less<>> kLeftOutTypes = {
    "autofs", "binfmt_misc", "bpf",      "cgroup",      "cgroup2",    "configfs",   "debugfs",
    "devpts", "devtmpfs",    "efivarfs", "fuse.portal", "fusectl",    "hugetlbfs",  "mqueue",
    "nfsd",   "nsfs",        "proc",     "pstore",      "rpc_pipefs", "securityfs", "selinuxfs",
    "sysfs",  "tracefs",     "squashfs", "cramfs",      "erofs"};

// The mount table writes blanks, tabs, line ends and backslashes in octal ("\040").
std::string unescape(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const auto octal = [&](std::size_t at) { return field[at] >= '0' && field[at] <= '7'; };
        if (field[i] == '\\' && i + 3 < field.size() && octal(i + 1) && octal(i + 2) &&
            octal(i + 3)) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

bool isUnder(const std::string& path, const std::string& folder) {
    if (folder == "/")
        return !path.empty() && path[0] == '/';
    return path.compare(0, folder.size(), folder) == 0 &&
           (path.size() == folder.size() || path[folder.size()] == '/');
}

bool excluded(const Volume& volume) {
    if (kLeftOutTypes.count(volume.type))
        return true;
    for (const char* hidden : {"/proc", "/sys"}) {
        if (isUnder(volume.mountPoint, hidden))
            return true;
    }
    if (volume.type == "tmpfs") {
        for (const char* system : {"/dev", "/run"}) {
            if (isUnder(volume.mountPoint, system))
                return true;
        }
    }
    return false;
}

// A call on the mount point of these waits for the server, for good when it is gone.
bool isNetwork(const std::string& type) {
    static const std::set<std::string, std::less<>> kNetworkTypes = {
        "nfs",  "nfs4", "cifs",      "smb3", "smbfs", "ncpfs", "9p",
        "ceph", "afs",  "glusterfs", "fuse", "davfs", "lustre"};
    return kNetworkTypes.count(type) > 0 || type.starts_with("fuse.");
}

bool readableFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           ::access(path.c_str(), R_OK | X_OK) == 0;
}

// One line of either table form; false for a line that is neither.
bool parseLine(const std::string& line, Volume& volume) {
    std::istringstream in(line);
    std::vector<std::string> fields;
    for (std::string field; in >> field;)
        fields.push_back(field);
    const auto dash = std::find(fields.begin(), fields.end(), "-");
    if (fields.size() >= 10 && dash - fields.begin() >= 6 && fields.end() - dash >= 3) {
        volume = {unescape(fields[4]), *(dash + 1), unescape(*(dash + 2))};
    } else if (fields.size() >= 3) {
        volume = {unescape(fields[1]), fields[2], unescape(fields[0])};
    } else {
        return false;
    }
    while (volume.mountPoint.size() > 1 && volume.mountPoint.back() == '/')
        volume.mountPoint.pop_back();
    return !volume.mountPoint.empty() && volume.mountPoint[0] == '/';
}

// The names along a path, without the empty ones and ".".
std::deque<std::string> components(const std::string& path) {
    std::deque<std::string> names;
    std::istringstream in(path);
    for (std::string name; std::getline(in, name, '/');) {
        if (!name.empty() && name != ".")
            names.push_back(name);
    }
    return names;
}

// The volume whose mount point is the longest prefix of the path in whole components; the
// root when none is (it holds everything).
Volume volumeOf(const std::vector<Volume>& volumes, const std::string& path) {
    Volume best{"/", "", ""};
    for (const Volume& volume : volumes) {
        const bool longer = volume.mountPoint.size() > best.mountPoint.size() ||
                            (volume.mountPoint == "/" && best.mountPoint == "/");
        if (longer && isUnder(path, volume.mountPoint))
            best = volume;
    }
    return best;
}

std::string& tableInUse() {
    static std::string table;
    return table;
}

}  // namespace

void setMountTable(std::string mountTable) {
    tableInUse() = std::move(mountTable);
}

std::vector<Volume> MountedVolumes() {
    return MountedVolumes(tableInUse().empty() ? "/proc/self/mountinfo" : tableInUse());
}

std::vector<Volume> MountedVolumes(const std::string& mountTable) {
    std::vector<Volume> mounted;
    std::ifstream table(mountTable);
    for (std::string line; std::getline(table, line);) {
        Volume volume;
        if (!parseLine(line, volume))
            continue;
        // A later mount on the same point hides the earlier one.
        std::erase_if(mounted, [&](const Volume& v) { return v.mountPoint == volume.mountPoint; });
        mounted.push_back(volume);
    }
    std::erase_if(mounted, [](const Volume& v) {
        return v.mountPoint != "/" &&
               (excluded(v) || (!isNetwork(v.type) && !readableFolder(v.mountPoint)));
    });
    std::sort(mounted.begin(), mounted.end(), [](const Volume& a, const Volume& b) {
        return (a.mountPoint == "/") != (b.mountPoint == "/") ? a.mountPoint == "/"
                                                              : a.mountPoint < b.mountPoint;
    });
    // The root holds everything else, so it is offered even where the table is unreadable.
    if (mounted.empty() || mounted.front().mountPoint != "/")
        mounted.insert(mounted.begin(), Volume{"/", "", ""});
    return mounted;
}

std::string DriveOf(const std::vector<Volume>& volumes, const std::string& path) {
    return volumeOf(volumes, path).mountPoint;
}

bool OnNetworkVolume(const std::vector<Volume>& volumes, const std::string& path) {
    return isNetwork(volumeOf(volumes, path).type);
}

std::string PathBehindLinks(const std::vector<Volume>& volumes, const std::string& path) {
    std::deque<std::string> ahead = components(path);
    std::vector<std::string> reached;
    const auto joined = [&reached] {
        std::string text;
        for (const std::string& name : reached)
            text += '/' + name;
        return text.empty() ? std::string(1, '/') : text;
    };
    int links = 0;
    while (!ahead.empty()) {
        const std::string name = ahead.front();
        ahead.pop_front();
        if (name == "..") {
            if (!reached.empty())
                reached.pop_back();
            continue;
        }
        reached.push_back(name);
        const std::string next = joined();
        struct stat info {};
        // As the kernel, give up after 40 links: a loop leads nowhere.
        if (OnNetworkVolume(volumes, next) || ::lstat(next.c_str(), &info) != 0 ||
            !S_ISLNK(info.st_mode) || ++links > 40)
            continue;
        std::string target(static_cast<std::size_t>(PATH_MAX), '\0');
        const ssize_t length = ::readlink(next.c_str(), target.data(), target.size());
        if (length <= 0)
            continue;
        target.resize(static_cast<std::size_t>(length));
        reached.pop_back();
        if (target[0] == '/')
            reached.clear();
        const std::deque<std::string> spliced = components(target);
        ahead.insert(ahead.begin(), spliced.begin(), spliced.end());
    }
    return joined();
}

}  // namespace gw::platform
