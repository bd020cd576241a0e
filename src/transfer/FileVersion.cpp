#include "transfer/FileVersion.h"

#include <cstdio>

namespace gw::transfer {
namespace {

constexpr long kPartialContent = 206;

struct ContentRange {
    std::uint64_t first = 0;
    std::optional<std::uint64_t> length;  // "*" when the server does not know it
};

// "bytes N-M/T" or "bytes N-M/*".
std::optional<ContentRange> ParseContentRange(const std::string& value) {
    unsigned long long first = 0;
    unsigned long long last = 0;
    int consumed = 0;
    if (std::sscanf(value.c_str(), "bytes %llu-%llu/%n", &first, &last, &consumed) != 2 ||
        consumed == 0 || last < first)
        return std::nullopt;
    ContentRange range{first, std::nullopt};
    unsigned long long length = 0;
    if (std::sscanf(value.c_str() + consumed, "%llu", &length) == 1)
        range.length = length;
    else if (value.compare(consumed, std::string::npos, "*") != 0)
        return std::nullopt;
    return range;
}

bool IsStrong(const std::string& etag) {
    return !etag.empty() && etag.rfind("W/", 0) != 0;
}

}  // namespace

FileVersion VersionOf(const platform::ResponseHead& head) {
    FileVersion version;
    if (head.httpStatus == kPartialContent) {
        if (const auto range = ParseContentRange(head.contentRange))
            version.length = range->length;
    } else if (head.contentLength >= 0) {
        version.length = static_cast<std::uint64_t>(head.contentLength);
    }
    if (head.acceptRanges == "none")
        return version;
    if (IsStrong(head.etag))
        version.etag = head.etag;
    version.lastModified = head.lastModified;
    return version;
}

AnswerUse JudgeAnswer(const FileVersion& first, const platform::ResponseHead& answer,
                      std::uint64_t asked) {
    if (answer.httpStatus != kPartialContent)
        return asked == 0 ? AnswerUse::Append : AnswerUse::StartOver;
    const auto range = ParseContentRange(answer.contentRange);
    if (asked == 0 || !range || range->first != asked)
        return AnswerUse::Refuse;
    const bool sameVersion = !first.etag.empty() ? answer.etag == first.etag
                                                 : !first.lastModified.empty() &&
                                                       answer.lastModified == first.lastModified;
    const bool sameLength = !first.length || !range->length || *first.length == *range->length;
    return sameVersion && sameLength ? AnswerUse::Append : AnswerUse::Refuse;
}

}  // namespace gw::transfer
