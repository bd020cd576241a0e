#include "harvest/LineRule.h"

#include <cstring>

namespace gw::harvest {

std::string_view LineEnds::Next(std::string_view& bytes) {
    if (afterCr_ && !bytes.empty()) {
        afterCr_ = false;
        if (bytes.front() == '\n')
            bytes.remove_prefix(1);
    }
    const void* cr = std::memchr(bytes.data(), '\r', bytes.size());
    if (cr == nullptr) {
        const std::string_view stretch = bytes;
        bytes = {};
        return stretch;
    }
    const auto at = static_cast<std::size_t>(static_cast<const char*>(cr) - bytes.data());
    const std::string_view stretch = bytes.substr(0, at);
    bytes.remove_prefix(at + 1);
    afterCr_ = true;
    return stretch;
}

void ApplyLineRule(std::string& bytes, std::vector<std::size_t>* removedAt) {
    LineEnds ends;
    std::string_view rest = bytes;
    char* write = bytes.data();
    while (!rest.empty()) {
        const char* end = rest.data() + rest.size();
        const std::string_view stretch = ends.Next(rest);
        std::memmove(write, stretch.data(), stretch.size());
        write += stretch.size();
        if (removedAt && stretch.data() + stretch.size() != end)
            removedAt->push_back(static_cast<std::size_t>(write - bytes.data()));
    }
    bytes.resize(static_cast<std::size_t>(write - bytes.data()));
}

}  // namespace gw::harvest
