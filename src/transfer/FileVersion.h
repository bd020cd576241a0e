#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/TransferEngine.h"

namespace gw::transfer {

// What the answer that began a file's kept bytes said of their version: a later try may add
// to those bytes only what belongs to the same version.
struct FileVersion {
    std::string etag;  // strong only: a weak ETag says "much the same", never "these bytes"
    // Only where no ETag came and the date was at least a minute old when the server answered:
    // a file may change twice within the second its date names.
    std::string lastModified;
    std::optional<std::uint64_t> length;  // the whole file's length, where it was announced

    // Whether anything names the version well enough to ask for the rest of it.
    bool resumable() const { return !etag.empty() || !lastModified.empty(); }
    // What If-Range carries: the ETag, else the date.
    const std::string& ifRange() const { return etag.empty() ? lastModified : etag; }
};

// The version an answer names; nothing resumable when the server refuses ranges or names the
// version only by a weak validator.
FileVersion VersionOf(const platform::ResponseHead& head);

// "bytes N-M/T" or "bytes N-M/*": the range a 206 says its body holds.
struct ContentRange {
    std::uint64_t first = 0;
    std::uint64_t end = 0;                // one past its last byte
    std::optional<std::uint64_t> length;  // "*" when the server does not know it
};
std::optional<ContentRange> ParseContentRange(const std::string& value);

// What a try does with an answer, decided before its first byte.
enum class AnswerUse {
    Append,     // the body goes on at the asked byte (the whole file when none was asked)
    StartOver,  // the body is the whole file again: the kept bytes go
    Refuse,     // the try fails; the next one asks for the whole file
};

// The answer to a try that asked for the body from byte `asked` (0: asked for no range),
// against the answer that began the kept bytes. A 206 goes on only where it starts at the
// asked byte, within the whole, carries the first answer's version and names the same whole
// length; a 206 that nobody asked for is never the file.
AnswerUse JudgeAnswer(const FileVersion& first, const platform::ResponseHead& answer,
                      std::uint64_t asked);

}  // namespace gw::transfer
