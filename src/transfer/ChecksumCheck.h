#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileReader.h"
#include "platform/HashingThread.h"
#include "transfer/ChecksumBook.h"

namespace gw::transfer {

// One file's bytes hashed as they stream to disk, with the algorithms that the names of its
// page's lists promise, so that the check before the rename seldom reads the file again. The
// hashes run on a thread of their own only while a try of the file is under way.
class ChecksumCheck {
  public:
    explicit ChecksumCheck(const std::vector<platform::HashAlgorithm>& promised)
        : hashing_(promised) {}

    void add(const char* data, std::size_t size);
    // Forgets every byte added: the next try's bytes are the file from its start.
    void restart();
    // A try ended without every byte: the thread goes, the hashes wait for the next try's bytes.
    void pause() { hashing_.pause(); }
    // Every byte is in: the hashes end.
    void complete();
    // The hash of the bytes in lower-case hex under `algorithm`, where it was computed as they
    // arrived; "" when computing it failed.
    std::optional<std::string> computed(platform::HashAlgorithm algorithm) const;

  private:
    platform::HashingThread hashing_;
    std::vector<std::string> hexes_;  // once complete
    bool failed_ = false;             // no thread could be started for the hashes
};

// A file read again from the disk and hashed, a piece at each turn of the run: where the list
// that names it gives an algorithm its name did not promise, or to prove a copy that was
// already in the folder.
class Rehash {
  public:
    Rehash(const std::string& folder, const std::string& name, platform::HashAlgorithm algorithm)
        : reader_(folder, name), hashing_({algorithm}) {}

    // Reads and hashes at most `most` more bytes; true once the file has been read to its end
    // or cannot be read.
    bool step(std::size_t most);
    // The hash in lower-case hex, "" when the file could not be read or hashed.
    std::string hex();
    // The file's size and date as it was opened.
    const platform::FileStamp& stamp() const { return reader_.stamp(); }

  private:
    platform::FileReader reader_;
    platform::HashingThread hashing_;
    std::string piece_;
    bool failed_ = false;
};

// "" when `hex` is the hash `expected` gives; else why the bytes are refused ("SHA-256 does
// not match SHA256SUMS").
std::string Mismatch(const ExpectedHash& expected, const std::string& hex);

}  // namespace gw::transfer
