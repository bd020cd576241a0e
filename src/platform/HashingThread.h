#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/Hasher.h"
#include "platform/PieceThread.h"

namespace gw::platform {

// Hashes computed on a thread of their own while the caller goes on receiving and writing, so
// that a checked download costs about as much as the slower of the two rather than both. The
// thread runs only while bytes come: pause() ends it and keeps the hashes, so that a file
// waiting for its next try holds no thread.
class HashingThread {
  public:
    explicit HashingThread(const std::vector<HashAlgorithm>& algorithms);

    const std::vector<HashAlgorithm>& algorithms() const { return algorithms_; }
    void add(const char* data, std::size_t size);
    // Waits for every byte added, then ends the thread; later bytes go on the same hashes.
    void pause();
    // Forgets every byte added.
    void restart();
    // Waits for every byte added, ends the thread and the hashes: their lower-case hex in the
    // order of algorithms(), "" for one that failed (what hashing threw on its thread fails
    // them all). restart() before adding again.
    std::vector<std::string> hexes();

  private:
    std::vector<HashAlgorithm> algorithms_;
    std::vector<std::unique_ptr<Hasher>> hashers_;  // the worker's alone while it runs
    std::unique_ptr<PieceThread> thread_;
    bool failed_ = false;  // hashing threw: a hash that missed bytes is no hash of the file
};

}  // namespace gw::platform
