#include "transfer/ChecksumBook.h"

namespace gw::transfer {

void ChecksumBook::add(const std::string& listName, const std::vector<ListedHash>& hashes) {
    for (const ListedHash& hash : hashes) {
        Listed& file = files_[hash.name];
        std::optional<ExpectedHash>& held =
            file.byAlgorithm[static_cast<std::size_t>(hash.algorithm)];
        if (!held)
            held = ExpectedHash{hash.algorithm, hash.hex, listName};
        else if (held->hex != hash.hex)
            file.disagree = true;
    }
}

std::optional<ExpectedHash> ChecksumBook::expected(const std::string& fileName) const {
    const auto found = files_.find(fileName);
    if (found == files_.end() || found->second.disagree)
        return std::nullopt;
    for (auto held = found->second.byAlgorithm.rbegin(); held != found->second.byAlgorithm.rend();
         ++held) {
        if (*held)
            return *held;
    }
    return std::nullopt;
}

bool ChecksumBook::disagree(const std::string& fileName) const {
    const auto found = files_.find(fileName);
    return found != files_.end() && found->second.disagree;
}

}  // namespace gw::transfer
