#include "retrieval/TempFolder.h"

#include "platform/PrivateFolder.h"
#include "platform/UserFolders.h"

namespace gw::retrieval {

std::string PrivateTempFolder(std::string* why) {
    const std::string cache = platform::CacheFolder();
    return cache.empty() ? platform::RunFolder(why)
                         : platform::OwnPrivateFolder(cache + "/grabwright", why);
}

std::string WizardTempFile(std::string* why) {
    const std::string folder = PrivateTempFolder(why);
    return folder.empty() ? "" : folder + "/temp.tmp";
}

}  // namespace gw::retrieval
