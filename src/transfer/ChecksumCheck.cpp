#include "transfer/ChecksumCheck.h"

namespace gw::transfer {

std::string ChecksumCheck::verdict() {
    const std::string hex = hasher_.hex();
    const std::string algorithm = platform::AlgorithmName(expected_.algorithm);
    if (hex.empty())
        return "the " + algorithm + " hash could not be computed";
    if (hex != expected_.hex)
        return algorithm + " does not match " + expected_.listName;
    return {};
}

}  // namespace gw::transfer
