// Whether an answer may add to the bytes a file kept from an earlier try: one table of first
// answer, later answer and asked byte.
#include <gtest/gtest.h>

#include "transfer/FileVersion.h"

namespace {

using gw::platform::ResponseHead;
using gw::transfer::AnswerUse;

constexpr const char* kDate = "Sun, 06 Nov 1994 08:49:37 GMT";
constexpr const char* kLater = "Mon, 07 Nov 1994 08:49:37 GMT";

ResponseHead Whole(std::string etag, std::string date = kDate, std::int64_t length = 1000) {
    return {200, "", std::move(etag), std::move(date), "bytes", length, {}};
}

ResponseHead Part(std::string range, std::string etag, std::string date = kDate) {
    return {206, std::move(range), std::move(etag), std::move(date), "bytes", -1, {}};
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
        // A weak ETag names no version: the date does.
        {Whole("W/\"a\""), Part(rest, "W/\"b\""), 500, AnswerUse::Append},
        {Whole("W/\"a\""), Part(rest, "W/\"a\"", kLater), 500, AnswerUse::Refuse},
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
