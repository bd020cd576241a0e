#include "platform/CookieFile.h"

#include <cstring>

#include "platform/CurlHandle.h"
#include "platform/WholeFile.h"

namespace gw::platform {
namespace {

// Why the file cannot be taken, or "" when it can. A fifo would hold the program in its open
// and /dev/zero would fill the memory, so neither is read at all.
std::string Refusal(const std::string& path, const FileBytes& file) {
    const std::string name = "the cookies file " + path;
    if (file.kind == FileKind::Other)
        return name + " is not a regular file";
    if (file.tooLarge)
        return name + " is larger than 64 MiB";
    if (!file.complete)
        return name + " cannot be read: " + std::strerror(file.error);
    return {};
}

}  // namespace

bool LoadCookieFile(CURLSH* store, const std::string& path, std::string& why,
                    const std::function<bool()>& stopped) {
    const FileBytes file = ReadWholeFile(path, kMaxCookieFileBytes);
    why = Refusal(path, file);
    if (!why.empty())
        return false;
    return LoadCookieText(store, file.bytes, why, stopped);
}

bool LoadCookieText(CURLSH* store, const std::string& bytes, std::string& why,
                    const std::function<bool()>& stopped) {
    // The lines go straight into the shared store.
    CurlEasy loader(curl_easy_init());
    if (!loader || store == nullptr ||
        curl_easy_setopt(loader.get(), CURLOPT_SHARE, store) != CURLE_OK) {
        why = "the cookie store could not be set up";
        return false;
    }
    // libcurl takes a line at a time, slowly for a large jar, so a signal is heard in between.
    for (std::size_t at = 0; at < bytes.size();) {
        if (stopped && stopped())
            return false;
        const std::size_t end = std::min(bytes.find('\n', at), bytes.size());
        std::string line = bytes.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const bool comment = line.rfind('#', 0) == 0 && line.rfind("#HttpOnly_", 0) != 0;
        if (line.empty() || comment)
            continue;
        curl_easy_setopt(loader.get(), CURLOPT_COOKIELIST, line.c_str());
    }
    return true;
}

}  // namespace gw::platform
