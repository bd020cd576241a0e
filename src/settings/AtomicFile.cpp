#include "settings/AtomicFile.h"

#include "platform/FileWriter.h"

namespace gw::settings {

bool ReplaceFile(const std::string& path, std::string_view text) {
    const std::size_t slash = path.rfind('/');
    platform::FileWriter file(path.substr(0, slash + 1), path.substr(slash + 1),
                              platform::FileAccess::OwnerOnly);
    return file.write(text.data(), text.size()) && file.commit();
}

}  // namespace gw::settings
