#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/FileTags.h"
#include "platform/Hasher.h"

namespace gw::transfer {

// A hash of a file's bytes that the page's list gave and the bytes matched.
struct RecordedHash {
    platform::HashAlgorithm algorithm = platform::HashAlgorithm::Sha256;
    std::string hex;  // lower case

    bool operator==(const RecordedHash&) const = default;
};

// What a download records on its file so that a later run can ask the server about it again:
// the validators the server sent with the body, and the size and date the file was left with;
// where a list on the page named the file and its bytes matched, that hash, so that a later run
// can tell the copy is still what today's list names without reading it.
struct VersionRecord {
    std::string etag;          // "" when the server sent none
    std::string lastModified;  // as the server wrote it; "" when it sent none
    platform::FileStamp stamp;
    std::optional<RecordedHash> hash;

    bool operator==(const VersionRecord&) const = default;
};

// The record as text, one "Name: value" line each in the manner of HTTP headers, the first two
// only when the server sent them; the date is seconds since the epoch and nanoseconds, as
// `stat --format=%.9Y` prints it:
//   ETag: "5f3a-100000"
//   Last-Modified: Tue, 03 Jun 2025 10:00:00 GMT
//   Size: 1048576
//   Modified: 1748944800.000000000
//   Checksum: SHA-256 9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08
std::string FormatVersionRecord(const VersionRecord& record);

// The record in such a text, or nothing when the text is anything else: a line that is not
// "Name: value" with one of those names, a name twice, a control byte in a value (a value
// goes into a request header), a size or date that is not plain digits, no size or date, or a
// checksum that is not an algorithm's name and a hash of its length in lower-case hex.
// A date before 1970 is never recorded, so it is never read either.
std::optional<VersionRecord> ParseVersionRecord(std::string_view text);

}  // namespace gw::transfer
