#include "platform/CookieFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "platform/CurlHandle.h"

namespace gw::platform {

bool LoadCookieFile(CURLSH* store, const std::string& path, std::string& why) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        why = "the cookies file " + path + " cannot be read: " + std::strerror(errno);
        return false;
    }
    // The lines go straight into the shared store; the file is only read.
    CurlEasy loader(curl_easy_init());
    if (!loader || store == nullptr ||
        curl_easy_setopt(loader.get(), CURLOPT_SHARE, store) != CURLE_OK) {
        why = "the cookie store could not be set up";
        return false;
    }
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const bool comment = line.rfind('#', 0) == 0 && line.rfind("#HttpOnly_", 0) != 0;
        if (line.empty() || comment)
            continue;
        curl_easy_setopt(loader.get(), CURLOPT_COOKIELIST, line.c_str());
    }
    if (file.bad()) {
        why = "the cookies file " + path + " cannot be read: " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace gw::platform
