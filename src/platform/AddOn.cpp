#include "platform/AddOn.h"

#include <sys/stat.h>

#include "platform/UserFolders.h"

namespace gw::platform {

bool AddOnPresentIn(const std::string& baseFolder) {
    std::string base = baseFolder;
    if (base.empty() || base.back() != '/')
        base += '/';
    struct stat entry {};
    // A dangling link is still an entry of that name.
    const bool folderEntry = ::lstat((base + "Tardifetch").c_str(), &entry) == 0;
    struct stat program {};
    const bool programFile =
        ::stat((base + "Tardifetcher.exe").c_str(), &program) == 0 && S_ISREG(program.st_mode);
    return folderEntry && programFile;
}

bool AddOnPresent() {
    return AddOnPresentIn(AddOnBaseFolder());
}

}  // namespace gw::platform
