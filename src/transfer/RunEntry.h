#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "transfer/ChecksumCheck.h"
#include "transfer/FileVersion.h"
#include "transfer/KnownCopy.h"
#include "transfer/PartFile.h"

namespace gw::transfer {

// Where one address of a download run stands, between its tries.
enum class State { Queued, Running, Waiting, Committing, Done };

struct Entry {
    std::string name;
    std::optional<std::size_t> nextSameName;  // the next address in list order with this name
    // Open only while a try runs: a file waiting for its next try holds no descriptor, but
    // keeps its bytes where the server named their version, for the next try to go on from.
    std::unique_ptr<PartFile> part;
    // Hashes the part file's bytes as they arrive, where a list names the file.
    std::unique_ptr<ChecksumCheck> check;
    FileVersion version;  // what the answer that began the kept bytes named
    // The server's date for the file: a ranged answer without one keeps the date of the
    // answer that named the version.
    std::optional<std::chrono::sys_seconds> modified;
    std::uint64_t rangeFrom = 0;  // where the current try asked the body to start
    bool rangeRefused = false;    // the answer was not the asked part of that version
    Condition condition;          // what the request asks about the copy already at the name
    bool unchanged = false;       // the server confirmed that copy
    int tries = 0;
    State state = State::Queued;
    bool writeFailed = false;
    std::chrono::steady_clock::time_point retryAt;
};

}  // namespace gw::transfer
