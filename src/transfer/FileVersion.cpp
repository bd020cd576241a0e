#include "transfer/FileVersion.h"

#include <cstdio>

#include "platform/HttpDate.h"

namespace gw::transfer {
namespace {

constexpr long kPartialContent = 206;
// How much older than the answer a date must be to name one version of the bytes.
constexpr std::chrono::seconds kDateSettled{60};

bool IsStrong(const std::string& etag) {
    return !etag.empty() && etag.rfind("W/", 0) != 0;
}

bool DateIsStrong(const platform::ResponseHead& head) {
    const auto modified = platform::ParseHttpDate(head.lastModified);
    const auto answered = platform::ParseHttpDate(head.date);
    return modified && answered && *modified + kDateSettled <= *answered;
}

}  // namespace

std::optional<ContentRange> ParseContentRange(const std::string& value) {
    unsigned long long first = 0;
    unsigned long long last = 0;
    int consumed = 0;
    if (std::sscanf(value.c_str(), "bytes %llu-%llu/%n", &first, &last, &consumed) != 2 ||
        consumed == 0 || last < first || last == ~0ULL)
        return std::nullopt;
    ContentRange range{first, last + 1, std::nullopt};
    unsigned long long length = 0;
    if (std::sscanf(value.c_str() + consumed, "%llu", &length) == 1) {
        if (range.end > length)
            return std::nullopt;
        range.length = length;
    } else if (value.compare(consumed, std::string::npos, "*") != 0) {
        return std::nullopt;
    }
    return range;
}

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
    else if (head.etag.empty() && DateIsStrong(head))
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
