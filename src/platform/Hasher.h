#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace gw::platform {

// The hashes a page publishes for its files, weakest first.
enum class HashAlgorithm { Md5, Sha1, Sha256, Sha512 };

// "SHA-256", as a message names the algorithm.
const char* AlgorithmName(HashAlgorithm algorithm);
// Hex digits of one hash of the algorithm.
std::size_t HexLength(HashAlgorithm algorithm);

// One hash over bytes that arrive in pieces, by libcrypto.
class Hasher {
  public:
    explicit Hasher(HashAlgorithm algorithm);
    ~Hasher();
    Hasher(const Hasher&) = delete;
    Hasher& operator=(const Hasher&) = delete;

    HashAlgorithm algorithm() const { return algorithm_; }
    void add(const char* data, std::size_t size);
    // Forgets every byte added so far.
    void restart();
    // The hash of the bytes added, in lower-case hex; "" when libcrypto failed on the way.
    // Ends the hash: add() needs a restart() after it.
    std::string hex();

  private:
    struct Context;
    HashAlgorithm algorithm_;
    std::unique_ptr<Context> context_;
    bool ok_ = false;
};

}  // namespace gw::platform
