// Whether an answer may add to the bytes a file kept from an earlier try: one table of first
// answer, later answer and asked byte.
#include <gtest/gtest.h>

#include "transfer/FileVersion.h"

namespace {

using gw::platform::ResponseHead;
using gw::transfer::AnswerUse;

constexpr const char* kDate = "Sun, 06 Nov 1994 08:49:37 GMT";
constexpr const char* kLater = "Mon, 07 Nov 1994 08:49:37 GMT";
constexpr const char* kHalfMinuteOn = "Sun, 06 Nov 1994 08:50:07 GMT";

ResponseHead Whole(std::string etag, std::string date = kDate, std::int64_t length = 1000,
                   std::string answered = kLater) {
    return {200, "", std::move(etag), std::move(date), "bytes", length, {}, std::move(answered)};
}

ResponseHead Part(std::string range, std::string etag, std::string date = kDate) {
    return {206, std::move(range), std::move(etag), std::move(date), "bytes", -1, {}, kLater};
}

TEST(JudgeAnswer, AppendsOnlyTheAskedPartOfTheFirstAnswersVersion) {
    const std::string rest = "bytes 500-999/1000";
    ResponseHead noRanges = Whole("\"v1\"");
    noRanges.acceptRanges = "none";
    struct Case {
        ResponseHead first;
        ResponseHead answer;
        std::uint64_t asked;
        AnswerUse use;
    } const cases[] = {
        {Whole("\"v1\""), Part(rest, "\"v1\""), 500, AnswerUse::Append},
        {Whole("\"v1\""), Part("bytes 0-999/1000", "\"v1\""), 500, AnswerUse::Refuse},
        {Whole("\"v1\""), Part(rest, "\"v2\""), 500, AnswerUse::Refuse},
        {Whole("\"v1\""), Part(rest, ""), 500, AnswerUse::Refuse},
        {Whole("\"v1\""), Part(rest, "W/\"v1\""), 500, AnswerUse::Refuse},
        {Whole("\"v1\""), Part("bytes 500-1999/2000", "\"v1\""), 500, AnswerUse::Refuse},
        {Whole("\"v1\""), Part("bytes 500-999/*", "\"v1\""), 500, AnswerUse::Append},
        {Whole("\"v1\""), Part("", "\"v1\""), 500, AnswerUse::Refuse},
        {Whole("\"v1\""), Whole("\"v2\"", kLater), 500, AnswerUse::StartOver},
        {Whole(""), Part(rest, ""), 500, AnswerUse::Append},
        {Whole(""), Part(rest, "", kLater), 500, AnswerUse::Refuse},
        // Nothing names the version: no validator, a weak ETag (whatever the date), a date
        // within a minute of the answer or with no answer date to judge it by.
        {Whole("", ""), Part(rest, "", ""), 500, AnswerUse::Refuse},
        {Whole("W/\"a\""), Part(rest, "W/\"a\""), 500, AnswerUse::Refuse},
        {Whole("", kDate, 1000, kHalfMinuteOn), Part(rest, ""), 500, AnswerUse::Refuse},
        {Whole("", kDate, 1000, ""), Part(rest, ""), 500, AnswerUse::Refuse},
        // A range that runs past the whole it names is no part of it.
        {Whole("\"v1\""), Part("bytes 500-1000/1000", "\"v1\""), 500, AnswerUse::Refuse},
        {noRanges, Part(rest, "\"v1\""), 500, AnswerUse::Refuse},
        {Whole("\"v1\"", kDate, -1), Part("bytes 500-1999/2000", "\"v1\""), 500, AnswerUse::Append},
        {{}, Whole("\"v1\""), 0, AnswerUse::Append},
        {{}, Part("bytes 0-99/1000", "\"v1\""), 0, AnswerUse::Refuse},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(JudgeAnswer(gw::transfer::VersionOf(c.first), c.answer, c.asked), c.use) << i;
    }
}

}  // namespace
