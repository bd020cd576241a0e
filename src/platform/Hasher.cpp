#include "platform/Hasher.h"

#include <openssl/evp.h>

namespace gw::platform {

struct Hasher::Context {
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    ~Context() { EVP_MD_CTX_free(context); }
};

namespace {

const EVP_MD* Digest(HashAlgorithm algorithm) {
    switch (algorithm) {
        case HashAlgorithm::Md5:
            return EVP_md5();
        case HashAlgorithm::Sha1:
            return EVP_sha1();
        case HashAlgorithm::Sha256:
            return EVP_sha256();
        case HashAlgorithm::Sha512:
            return EVP_sha512();
    }
    return nullptr;
}

}  // namespace

const char* AlgorithmName(HashAlgorithm algorithm) {
    switch (algorithm) {
        case HashAlgorithm::Md5:
            return "MD5";
        case HashAlgorithm::Sha1:
            return "SHA-1";
        case HashAlgorithm::Sha256:
            return "SHA-256";
        case HashAlgorithm::Sha512:
            return "SHA-512";
    }
    return "";
}

std::size_t HexLength(HashAlgorithm algorithm) {
    switch (algorithm) {
        case HashAlgorithm::Md5:
            return 32;
        case HashAlgorithm::Sha1:
            return 40;
        case HashAlgorithm::Sha256:
            return 64;
        case HashAlgorithm::Sha512:
            return 128;
    }
    return 0;
}

Hasher::Hasher(HashAlgorithm algorithm)
    : algorithm_(algorithm), context_(std::make_unique<Context>()) {
    restart();
}

Hasher::~Hasher() = default;

void Hasher::restart() {
    ok_ = context_->context != nullptr &&
          EVP_DigestInit_ex(context_->context, Digest(algorithm_), nullptr) == 1;
}

void Hasher::add(const char* data, std::size_t size) {
    ok_ = ok_ && EVP_DigestUpdate(context_->context, data, size) == 1;
}

std::string Hasher::hex() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    const bool done = ok_ && EVP_DigestFinal_ex(context_->context, digest, &length) == 1;
    ok_ = false;
    if (!done)
        return {};
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        text += digits[digest[i] >> 4];
        text += digits[digest[i] & 15];
    }
    return text;
}

}  // namespace gw::platform
