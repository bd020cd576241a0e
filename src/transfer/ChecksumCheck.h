#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/HashingThread.h"
#include "transfer/ChecksumBook.h"

namespace gw::transfer {

// One file's bytes held against the hash its page lists for it, hashed as they stream to
// disk, so that the check before the rename never reads the file again. The hash runs on a
// thread of its own only while a try of the file is under way.
class ChecksumCheck {
  public:
    explicit ChecksumCheck(ExpectedHash expected) : expected_(std::move(expected)) {}

    void add(const char* data, std::size_t size);
    // Forgets every byte added: the next try's bytes are the file from its start.
    void restart() { hashing_.reset(); }
    // "" when the bytes added hash to the listed hash; else why the file is refused
    // ("SHA-256 does not match SHA256SUMS"). Ends the hash: the next try starts a new one.
    std::string verdict();

  private:
    ExpectedHash expected_;
    std::unique_ptr<platform::HashingThread> hashing_;
};

}  // namespace gw::transfer
