#pragma once

#include <cstddef>
#include <string>

#include "platform/Hasher.h"
#include "transfer/ChecksumBook.h"

namespace gw::transfer {

// One file's bytes held against the hash its page lists for it, hashed as they stream to
// disk, so that the check before the rename never reads the file again.
class ChecksumCheck {
  public:
    explicit ChecksumCheck(ExpectedHash expected)
        : expected_(std::move(expected)), hasher_(expected_.algorithm) {}

    void add(const char* data, std::size_t size) { hasher_.add(data, size); }
    void restart() { hasher_.restart(); }
    // "" when the bytes added hash to the listed hash; else why the file is refused
    // ("SHA-256 does not match SHA256SUMS"). Ends the hash: the next try restarts it.
    std::string verdict();

  private:
    ExpectedHash expected_;
    platform::Hasher hasher_;
};

}  // namespace gw::transfer
