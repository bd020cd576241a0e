#include "transfer/FileName.h"

#include <unordered_set>

namespace gw::transfer {

std::string FileNameFromAddress(std::string_view address) {
    const auto slash = address.rfind('/');
    return std::string(slash == std::string_view::npos ? address : address.substr(slash + 1));
}

std::vector<std::string> DistinctNames(const std::vector<std::string>& addresses) {
    std::vector<std::string> names;
    names.reserve(addresses.size());
    // Every address's own name is passed over, so that no file takes a later file's name.
    std::unordered_set<std::string> taken;
    for (const std::string& address : addresses)
        taken.insert(names.emplace_back(FileNameFromAddress(address)));
    std::unordered_set<std::string> given;
    for (std::string& name : names) {
        if (name.empty() || given.insert(name).second)
            continue;
        // A leading "." starts a hidden name, not an extension.
        const std::size_t dot = name.rfind('.');
        const std::size_t at = dot == std::string::npos || dot == 0 ? name.size() : dot;
        for (int number = 2;; ++number) {
            std::string other =
                name.substr(0, at) + " (" + std::to_string(number) + ")" + name.substr(at);
            if (!taken.contains(other) && given.insert(other).second) {
                name = std::move(other);
                break;
            }
        }
    }
    return names;
}

}  // namespace gw::transfer
