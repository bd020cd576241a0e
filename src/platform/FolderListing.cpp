#include "platform/FolderListing.h"

#include <algorithm>
#include <filesystem>
#include <future>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "platform/Folders.h"
#include "platform/UserFolders.h"
#include "platform/Volumes.h"

namespace gw::platform {
namespace {

using Subfolders = std::optional<std::vector<std::string>>;

// "/a//b/../c/" as "/a/c", so that the parents a list shows are real folder names.
std::string normalFolderPath(const std::string& path) {
    std::string normal = std::filesystem::path(path).lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    return normal;
}

// The reads still under way, by drive. Folders are read one at a time, each waited for up to
// its patience, so a read still under way when the next one starts is one that timed out:
// its drive does not answer, and asking it again would only leave one more thread waiting.
class DrivesInUse {
  public:
    // False, and nothing claimed, while an earlier read on the drive has not come back.
    bool claim(const std::string& drive) {
        const std::lock_guard lock(mutex_);
        return reading_.insert(drive).second;
    }
    void release(const std::string& drive) {
        const std::lock_guard lock(mutex_);
        reading_.erase(drive);
    }

  private:
    std::mutex mutex_;
    std::set<std::string> reading_;
};

// Never destroyed: a thread left waiting on a dead server may return after main has ended.
DrivesInUse& drivesInUse() {
    static auto* drives = new DrivesInUse;
    return *drives;
}

}  // namespace

std::optional<FolderListing> ReadFolder(const std::string& path, const std::vector<Volume>& volumes,
                                        std::chrono::milliseconds patience) {
    if (path.empty() || path[0] != '/')
        return std::nullopt;
    const std::string folder = normalFolderPath(path);
    // The drive the read really waits on: a link into a network volume whose server is gone
    // must leave that volume unreadable, not the one that holds the link.
    const std::string drive = DriveOf(volumes, PathBehindLinks(volumes, folder));
    if (!drivesInUse().claim(drive))
        return std::nullopt;
    // The promise lives as long as the thread, which may outlive this call by far.
    auto reading = std::make_shared<std::promise<Subfolders>>();
    std::future<Subfolders> answer = reading->get_future();
    std::thread([reading, folder, drive, volumes] {
        Subfolders subfolders =
            IsOpenableFolder(folder) ? Subfolders(ListSubfolders(folder, volumes)) : std::nullopt;
        // Released first, so that the next read, which may start as soon as the answer is in,
        // finds the drive free.
        drivesInUse().release(drive);
        reading->set_value(std::move(subfolders));
    }).detach();
    if (answer.wait_for(patience) != std::future_status::ready)
        return std::nullopt;
    Subfolders subfolders = answer.get();
    if (!subfolders)
        return std::nullopt;
    return FolderListing{folder, std::move(*subfolders)};
}

FolderListing OpenFolderOrFallBack(const std::string& wanted, const std::vector<Volume>& volumes,
                                   std::chrono::milliseconds patience) {
    if (auto listing = ReadFolder(wanted, volumes, patience))
        return *listing;
    for (const std::string& candidate : {DownloadFolder(), HomeFolder()}) {
        if (auto listing = ReadFolder(candidate, volumes, patience))
            return *listing;
    }
    // The root holds everything; should even it not answer, the list shows it empty.
    return ReadFolder("/", volumes, patience).value_or(FolderListing{"/", {}});
}

std::vector<std::string> FolderChain(const std::string& drive, const std::string& folder) {
    std::vector<std::string> chain = {drive};
    std::size_t at = drive == "/" ? 1 : drive.size() + 1;
    while (at < folder.size()) {
        const std::size_t end = std::min(folder.find('/', at), folder.size());
        chain.push_back(folder.substr(0, end));
        at = end + 1;
    }
    return chain;
}

std::string SubfolderPath(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string StoredFolderPath(const std::string& folder) {
    return folder.empty() || folder.back() != '/' ? folder + '/' : folder;
}

}  // namespace gw::platform
