#include "transfer/ChecksumCheck.h"

#include <exception>

namespace gw::transfer {

void ChecksumCheck::add(const char* data, std::size_t size) {
    if (!hashing_)
        hashing_ = std::make_unique<platform::HashingThread>(expected_.algorithm);
    hashing_->add(data, size);
}

std::string ChecksumCheck::verdict() {
    const std::string algorithm = platform::AlgorithmName(expected_.algorithm);
    std::string hex;
    try {
        if (!hashing_)
            hashing_ = std::make_unique<platform::HashingThread>(expected_.algorithm);
        hex = hashing_->hex();
    } catch (const std::exception&) {
        // No thread could be started: the file stays unproven, so it does not go into place.
    }
    hashing_.reset();
    if (hex.empty())
        return "the " + algorithm + " hash could not be computed";
    if (hex != expected_.hex)
        return algorithm + " does not match " + expected_.listName;
    return {};
}

}  // namespace gw::transfer
