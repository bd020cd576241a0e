// Whether an answer may add to the bytes a file kept from an earlier try: one table of first
// answer, later answer and asked byte.
#include <gtest/gtest.h>

#include "transfer/FileVersion.h"

namespace {

using gw::platform::ResponseHead;
using gw::transfer::AnswerUse;

constexpr const char* kDate = "Sun, 06 Nov 1994 08:49:37 GMT";
constexpr const char* kLaterDate = "Mon, 07 Nov 1994 08:49:37 GMT";

ResponseHead Whole(std::string etag, std::string date, std::int64_t length = 1000) {
    return {200, "", std::move(etag), std::move(date), "bytes", length};
}

ResponseHead Part(std::string range, std::string etag, std::string date = kDate) {
    return {206, std::move(range), std::move(etag), std::move(date), "bytes", -1};
}

struct Case {
    const char* what;
    ResponseHead first;
    ResponseHead answer;
    std::uint64_t asked;
    AnswerUse use;
};

TEST(JudgeAnswer, AppendsOnlyTheAskedPartOfTheFirstAnswersVersion) {
    const Case cases[] = {
        {"same strong ETag", Whole("\"v1\"", kDate), Part("bytes 500-999/1000", "\"v1\""), 500,
         AnswerUse::Append},
        {"starts elsewhere", Whole("\"v1\"", kDate), Part("bytes 0-999/1000", "\"v1\""), 500,
         AnswerUse::Refuse},
        {"another ETag", Whole("\"v1\"", kDate), Part("bytes 500-999/1000", "\"v2\""), 500,
         AnswerUse::Refuse},
        {"no ETag where there was one", Whole("\"v1\"", kDate), Part("bytes 500-999/1000", ""), 500,
         AnswerUse::Refuse},
        {"the ETag made weak", Whole("\"v1\"", kDate), Part("bytes 500-999/1000", "W/\"v1\""), 500,
         AnswerUse::Refuse},
        {"same ETag, other length", Whole("\"v1\"", kDate), Part("bytes 500-1999/2000", "\"v1\""),
         500, AnswerUse::Refuse},
        {"length unknown to the part", Whole("\"v1\"", kDate), Part("bytes 500-999/*", "\"v1\""),
         500, AnswerUse::Append},
        {"no Content-Range", Whole("\"v1\"", kDate), Part("", "\"v1\""), 500, AnswerUse::Refuse},
        {"the whole file again", Whole("\"v1\"", kDate), Whole("\"v2\"", kLaterDate), 500,
         AnswerUse::StartOver},
        {"same date, no ETag", Whole("", kDate), Part("bytes 500-999/1000", ""), 500,
         AnswerUse::Append},
        {"later date, no ETag", Whole("", kDate), Part("bytes 500-999/1000", "", kLaterDate), 500,
         AnswerUse::Refuse},
        {"a weak ETag is no version", Whole("W/\"a\"", kDate),
         Part("bytes 500-999/1000", "W/\"b\""), 500, AnswerUse::Append},
        {"weak ETag, later date", Whole("W/\"a\"", kDate),
         Part("bytes 500-999/1000", "W/\"a\"", kLaterDate), 500, AnswerUse::Refuse},
        {"first length unknown", Whole("\"v1\"", kDate, -1), Part("bytes 500-1999/2000", "\"v1\""),
         500, AnswerUse::Append},
        {"nothing asked, whole file", {}, Whole("\"v1\"", kDate), 0, AnswerUse::Append},
        {"nothing asked, a piece", {}, Part("bytes 0-99/1000", "\"v1\""), 0, AnswerUse::Refuse},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JudgeAnswer(gw::transfer::VersionOf(c.first), c.answer, c.asked), c.use)
            << c.what;
}

TEST(VersionOf, NamesNoVersionToResumeWhereTheServerRefusesRangesOrHasOnlyAWeakETag) {
    EXPECT_TRUE(gw::transfer::VersionOf(Whole("\"v1\"", "")).resumable());
    EXPECT_FALSE(gw::transfer::VersionOf(Whole("W/\"v1\"", "")).resumable());
    ResponseHead refusing = Whole("\"v1\"", kDate);
    refusing.acceptRanges = "none";
    EXPECT_FALSE(gw::transfer::VersionOf(refusing).resumable());
}

}  // namespace
