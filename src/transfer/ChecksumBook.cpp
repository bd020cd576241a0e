#include "transfer/ChecksumBook.h"

#include "transfer/FileName.h"
#include "transfer/ListedPlace.h"

namespace gw::transfer {

void ChecksumBook::add(const std::string& listAddress, const std::vector<ListedHash>& hashes) {
    const std::string listName = FileNameFromAddress(listAddress);
    for (const ListedHash& hash : hashes) {
        Listed& file = places_[ListedPlace(listAddress, hash.name)];
        std::optional<ExpectedHash>& held =
            file.byAlgorithm[static_cast<std::size_t>(hash.algorithm)];
        if (!held)
            held = ExpectedHash{hash.algorithm, hash.hex, listName};
        else if (held->hex != hash.hex)
            file.disagree = true;
    }
}

const ChecksumBook::Listed* ChecksumBook::find(const std::string& fileAddress) const {
    if (places_.empty())
        return nullptr;
    for (const std::string& place : PlacesOfFile(fileAddress)) {
        if (const auto found = places_.find(place); found != places_.end())
            return &found->second;
    }
    return nullptr;
}

std::optional<ExpectedHash> ChecksumBook::expected(const std::string& fileAddress) const {
    const Listed* file = find(fileAddress);
    if (file == nullptr || file->disagree)
        return std::nullopt;
    for (auto held = file->byAlgorithm.rbegin(); held != file->byAlgorithm.rend(); ++held) {
        if (*held)
            return *held;
    }
    return std::nullopt;
}

bool ChecksumBook::disagree(const std::string& fileAddress) const {
    const Listed* file = find(fileAddress);
    return file != nullptr && file->disagree;
}

}  // namespace gw::transfer
