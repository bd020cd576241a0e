#pragma once

#include <cstddef>
#include <string>

#include "platform/Hasher.h"
#include "platform/PieceThread.h"

namespace gw::platform {

// A hash computed on a thread of its own while the caller goes on receiving and writing, so
// that a checked download costs about as much as the slower of the two rather than both.
class HashingThread {
  public:
    explicit HashingThread(HashAlgorithm algorithm);

    void add(const char* data, std::size_t size) { thread_.add(data, size); }
    // Waits for every byte added, then ends the hash: its lower-case hex, "" on failure (what
    // hashing threw on its thread included).
    std::string hex();

  private:
    Hasher hasher_;       // the worker's alone, except once the queue is empty and it is idle
    PieceThread thread_;  // last: it stops and joins before the hasher goes
};

}  // namespace gw::platform
