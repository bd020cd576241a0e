#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Hasher.h"

namespace gw::transfer {

// One line of a checksum list: what the file of that name must hash to.
struct ListedHash {
    // As the list writes it, relative to the list's own folder ("./" dropped); a sidecar's line
    // that names its own file by another path names it by its name alone.
    std::string name;
    platform::HashAlgorithm algorithm = platform::HashAlgorithm::Sha256;
    std::string hex;  // lower case
};

// The algorithm a list's own name promises ("SHA256SUMS", "a.zip.sha256"), if any.
std::optional<platform::HashAlgorithm> AlgorithmOfListName(std::string_view listName);

// The file a sidecar is named after ("a.zip" of "a.zip.sha256" or "a.zip.md5sum"); "" when
// the name is no sidecar's.
std::string_view SidecarFileOf(std::string_view listName);

struct ReadList {
    std::vector<ListedHash> hashes;
    std::size_t unreadable = 0;  // lines that are neither blank, a comment nor a hash of a file
};

// Reads a checksum list as the common tools write it: "HASH  NAME" and "HASH *NAME" (with the
// backslash-escaped form), "SHA256 (NAME) = HASH", OpenSSL's "SHA2-256(NAME)= HASH", or a
// sidecar's bare hash; CRLF line ends, blank and "#" lines, and a PGP clear-signed wrapper (its
// signature is not checked). The algorithm comes from the line's tag, else the list's name,
// else the hash's length. Lines it cannot read are counted, as `sha256sum -c` counts them.
ReadList ReadChecksumList(std::string_view text, std::string_view listName);

}  // namespace gw::transfer
