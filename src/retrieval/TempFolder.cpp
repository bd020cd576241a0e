#include "retrieval/TempFolder.h"

#include "platform/PrivateFolder.h"
#include "platform/UserFolders.h"

namespace gw::retrieval {

std::string PrivateTempFolder(std::string* why) {
    const std::string cache = platform::CacheFolder();
    return cache.empty() ? platform::RunFolder(why)
                         : platform::OwnPrivateFolder(cache + "/grabwright", why);
}

RunTempFile::RunTempFile() {
    const std::string folder = platform::RunFolder(&error_);
    if (!folder.empty())
        path_ = folder + "/page";
}

RunTempFile::~RunTempFile() {
    if (!path_.empty())
        platform::RemoveFile(path_);
}

std::string WizardTempFile(std::string* why) {
    const std::string folder = PrivateTempFolder(why);
    return folder.empty() ? "" : folder + "/temp.tmp";
}

}  // namespace gw::retrieval
