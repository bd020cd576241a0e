#include "transfer/ChecksumCheck.h"

#include <algorithm>
#include <exception>

namespace gw::transfer {

void ChecksumCheck::add(const char* data, std::size_t size) {
    if (failed_)
        return;
    try {
        hashing_.add(data, size);
    } catch (const std::exception&) {
        // No thread could be started: the file stays unproven, so it does not go into place.
        failed_ = true;
    }
}

void ChecksumCheck::restart() {
    hashing_.restart();
    hexes_.clear();
    failed_ = false;
}

void ChecksumCheck::complete() {
    hexes_ = hashing_.hexes();
    if (failed_)
        std::fill(hexes_.begin(), hexes_.end(), std::string());
}

std::optional<std::string> ChecksumCheck::computed(platform::HashAlgorithm algorithm) const {
    const auto& algorithms = hashing_.algorithms();
    const auto found = std::find(algorithms.begin(), algorithms.end(), algorithm);
    if (found == algorithms.end() || hexes_.size() != algorithms.size())
        return std::nullopt;
    return hexes_[static_cast<std::size_t>(found - algorithms.begin())];
}

bool Rehash::step(std::size_t most) {
    if (failed_ || !reader_.open() || !reader_.next(piece_, most)) {
        failed_ = true;
        return true;
    }
    try {
        hashing_.add(piece_.data(), piece_.size());
    } catch (const std::exception&) {
        failed_ = true;
    }
    return piece_.empty() || failed_;
}

std::string Rehash::hex() {
    std::vector<std::string> hexes = hashing_.hexes();
    return failed_ ? std::string() : std::move(hexes.front());
}

std::string Mismatch(const ExpectedHash& expected, const std::string& hex) {
    const std::string algorithm = platform::AlgorithmName(expected.algorithm);
    if (hex.empty())
        return "the " + algorithm + " hash could not be computed";
    if (hex != expected.hex)
        return algorithm + " does not match " + expected.listName;
    return {};
}

}  // namespace gw::transfer
