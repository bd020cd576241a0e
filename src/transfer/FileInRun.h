#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/TransferEngine.h"
#include "transfer/ChecksumCheck.h"
#include "transfer/FileVersion.h"
#include "transfer/KnownCopy.h"
#include "transfer/PartFile.h"

namespace gw::transfer {

// Where one address of a download run stands, between its tries.
enum class Stage {
    Queued,
    Running,
    Waiting,     // for its next try
    Proving,     // its bytes are in (or the server confirmed the copy): waiting for the lists
                 // that may name it, or read again to be hashed
    Committing,  // going into place
    Done,
};

struct FileInRun {
    std::string name;
    std::optional<std::size_t> nextSameName;  // the next address in list order with this name
    // Open only while a try runs: a file waiting for its next try holds no descriptor, but
    // keeps its bytes where the server named their version, for the next try to go on from.
    std::unique_ptr<PartFile> part;
    // Hashes the part file's bytes as they arrive, where a list may name the file.
    std::unique_ptr<ChecksumCheck> check;
    // Hashes a file again from the disk, where the bytes' hash is needed and was not computed.
    std::unique_ptr<Rehash> rehash;
    FileVersion version;  // what the answer that began the kept bytes named
    // The server's date for the file: a ranged answer without one keeps the date of the
    // answer that named the version.
    std::optional<std::chrono::sys_seconds> modified;
    platform::ResponseHead head;  // of the answer that ended the bytes
    std::uint64_t rangeFrom = 0;  // where the current try asked the body to start
    // Where the current answer's bytes end (one past the last): bytes beyond are no part of
    // the file, whatever the server sends. 0 for no bound.
    std::uint64_t rangeEnd = 0;
    bool rangeRefused = false;  // the answer was not the asked part of that version
    Condition condition;        // what the request asks about the copy already at the name
    bool unchanged = false;     // the server confirmed that copy
    bool proven = false;        // its bytes matched the hash a list gives
    int tries = 0;
    Stage stage = Stage::Queued;
    bool writeFailed = false;
    std::chrono::steady_clock::time_point retryAt;
};

}  // namespace gw::transfer
