#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/UrlTransfer.h"

namespace gw::platform {

// One finished transfer of a ParallelTransfers.
struct FinishedTransfer {
    std::size_t id = 0;
    TransferResult result;
};

// Up to `width` transfers at once over one libcurl multi handle, so that connections are
// shared and HTTP/2 streams are multiplexed on one connection where the server offers it.
// Every handle gets the settings of UrlTransfer (ConfigureEasy); bodies are never decoded.
class ParallelTransfers {
  public:
    explicit ParallelTransfers(std::size_t width, TransferOptions options = {});
    ~ParallelTransfers();
    ParallelTransfers(const ParallelTransfers&) = delete;
    ParallelTransfers& operator=(const ParallelTransfers&) = delete;

    std::size_t running() const;
    bool hasRoom() const;
    // Starts a transfer of `address` into `sink` (which must outlive it); when it cannot start
    // its failure comes out of the next step().
    void start(std::size_t id, const std::string& address, BodySink sink);
    // Moves every running transfer on, waiting at most `wait` for activity; the transfers
    // that ended since the last call.
    std::vector<FinishedTransfer> step(std::chrono::milliseconds wait);
    // Ends every running transfer at once; nothing is reported for them.
    void abortAll();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace gw::platform
