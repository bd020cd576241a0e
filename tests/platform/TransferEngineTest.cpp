// What a transfer delivers: bodies byte for byte, failures for error statuses, broken and
// slow servers, redirects that leave the web, oversized bodies, HTTPS and FTP.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

#include "TransferPages.h"
#include "platform/TransferEngine.h"
#include "support/FtpServer.h"
#include "support/GzipPage.h"
#include "support/HttpServer.h"
#include "support/TempEnvironment.h"

namespace gw::platform {
namespace {

using test::EveryByteAndLineEnd;
using test::HttpServer;

struct Outcome {
    TransferResult result;
    std::string bytes;  // what reached the sink
};

Outcome Get(TransferEngine& engine, const std::string& address, Request request = {}) {
    Outcome outcome;
    request.address = address;
    request.sink = [&](const char* data, std::size_t size) {
        outcome.bytes.append(data, size);
        return true;
    };
    outcome.result = engine.Fetch(std::move(request));
    return outcome;
}

struct Answer {
    const char* name;
    const char* path;
    bool ok;
    long status;
    std::string body;          // the body when ok
    bool streamsPart = false;  // a failure that may leave part of the body in the sink
};

void PrintTo(const Answer& answer, std::ostream* out) {
    *out << answer.path;
}

class ServerAnswer : public ::testing::TestWithParam<Answer> {
  protected:
    HttpServer server{test::ServePages};
};

TEST_P(ServerAnswer, DeliversTheBodyOnlyOnSuccess) {
    const Answer& answer = GetParam();
    TransferEngine engine;
    const Outcome outcome = Get(engine, server.url(answer.path));
    EXPECT_EQ(outcome.result.ok, answer.ok) << outcome.result.error;
    EXPECT_EQ(outcome.result.head.httpStatus, answer.status);
    EXPECT_EQ(outcome.result.finalAddress, server.url(answer.path));
    if (answer.ok) {
        EXPECT_EQ(outcome.bytes, answer.body);
        EXPECT_EQ(outcome.result.error, "");
    } else {
        EXPECT_NE(outcome.result.error, "");
        if (!answer.streamsPart) {
            EXPECT_EQ(outcome.bytes, "");
        }
    }
    if (answer.status >= 400) {
        EXPECT_NE(outcome.result.error.find(std::to_string(answer.status)), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Statuses, ServerAnswer,
                         ::testing::ValuesIn(std::vector<Answer>{
                             {"Page", "/page", true, 200, "hello page"},
                             {"EmptyBody", "/empty", true, 200, ""},
                             {"EveryByteAndLineEnd", "/bytes", true, 200, EveryByteAndLineEnd()},
                             {"NotFound", "/missing", false, 404, ""},
                             {"ServerError", "/broken", false, 500, ""},
                             {"CutShort", "/cut-short", false, 200, "", true},
                             {"CutShortChunked", "/cut-short-chunked", false, 200, "", true},
                         }),
                         [](const ::testing::TestParamInfo<Answer>& info) {
                             return std::string(info.param.name);
                         });

TEST(TransferEngineTest, CompressedBodyIsDecodedOnlyWhenAskedFor) {
    HttpServer server(test::ServePages);
    TransferEngine engine;
    for (bool accept : {true, false}) {
        SCOPED_TRACE(accept ? "asked" : "not asked");
        Request request;
        request.acceptCompressed = accept;
        const Outcome outcome = Get(engine, server.url("/gzip"), request);
        EXPECT_TRUE(outcome.result.ok) << outcome.result.error;
        EXPECT_EQ(outcome.bytes, accept ? test::kGzipPageText : test::kGzipPageBytes);
    }
}

TEST(TransferEngineTest, FollowsUpToTenRedirectsWithinTheWebOnly) {
    HttpServer server(test::ServePages);
    struct Case {
        const char* path;
        bool ok;
        const char* finalPath;
    };
    for (const Case& c : {Case{"/hop/10", true, "/hop/0"}, Case{"/hop/11", false, nullptr},
                          Case{"/to-endless", true, "/hop/0"}, Case{"/to-file", false, nullptr},
                          Case{"/to-dict", false, nullptr}}) {
        SCOPED_TRACE(c.path);
        TransferEngine engine;
        const auto [result, body] = Get(engine, server.url(c.path));
        EXPECT_EQ(result.ok, c.ok) << result.error;
        EXPECT_EQ(body, c.ok ? "landed" : "");
        if (c.ok) {
            EXPECT_TRUE(result.redirected);
            EXPECT_EQ(result.finalAddress, server.url(c.finalPath));
            EXPECT_EQ(result.head.address, server.url(c.finalPath));
        }
    }
}

TEST(TransferEngineTest, TypedAddressOutsideTheWebFailsWithoutReading) {
    for (const char* address :
         {"file:///etc/passwd", "FILE:///etc/passwd", "file://localhost/etc/passwd", "/etc/passwd",
          "dict://127.0.0.1:1/d:word", "gopher://127.0.0.1:1/", "telnet://127.0.0.1:1/"}) {
        SCOPED_TRACE(address);
        TransferEngine engine;
        const auto [result, body] = Get(engine, address);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error, "");
        EXPECT_EQ(body, "");
    }
}

TEST(TransferEngineTest, SilentServerFailsAfterTheLowSpeedTime) {
    HttpServer server(test::ServePages);
    TransferOptions options;
    options.lowSpeedTimeSeconds = 1;
    TransferEngine engine(options);
    const auto start = std::chrono::steady_clock::now();
    const TransferResult result = Get(engine, server.url("/slow")).result;
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failure, FailureKind::Connection);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(TransferEngineTest, BodyPastTheCapFails) {
    HttpServer server(test::ServePages);
    const std::uint64_t size = EveryByteAndLineEnd().size();
    struct Case {
        const char* path;
        std::uint64_t cap;
        bool ok;
    };
    for (const Case& c : {Case{"/endless", 1 << 20, false}, Case{"/bytes", size - 1, false},
                          Case{"/bytes", size, true}}) {
        SCOPED_TRACE(std::string(c.path) + " cap " + std::to_string(c.cap));
        Request request;
        request.maxBodyBytes = c.cap;
        TransferEngine engine;
        const Outcome outcome = Get(engine, server.url(c.path), request);
        EXPECT_EQ(outcome.result.ok, c.ok) << outcome.result.error;
        EXPECT_LE(outcome.bytes.size(), c.cap);
    }
}

TEST(TransferEngineTest, HttpsNeedsATrustedCertificate) {
    HttpServer server(test::ServePages, HttpServer::Scheme::Https);
    for (bool trusted : {true, false}) {
        SCOPED_TRACE(trusted ? "trusted" : "not trusted");
        TransferOptions options;
        if (trusted)
            options.extraCaFile = server.caFile();
        TransferEngine engine(options);
        const auto [result, body] = Get(engine, server.url("/bytes"));
        EXPECT_EQ(result.ok, trusted) << result.error;
        EXPECT_EQ(body, trusted ? EveryByteAndLineEnd() : "");
        if (trusted) {
            EXPECT_EQ(result.head.httpStatus, 200);
        }
    }
}

TEST(TransferEngineTest, FetchesOverFtp) {
    const std::filesystem::path folder = std::filesystem::path(test::TestRoot()) / "ftp";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "page.bin", std::ios::binary) << EveryByteAndLineEnd();
    test::FtpServer server(folder.string());
    TransferEngine engine;
    for (const bool present : {true, false}) {
        SCOPED_TRACE(present ? "present" : "absent");
        const auto [result, body] = Get(engine, server.url(present ? "/page.bin" : "/absent.bin"));
        EXPECT_EQ(result.ok, present) << result.error;
        EXPECT_EQ(body, present ? EveryByteAndLineEnd() : "");
        EXPECT_EQ(result.head.httpStatus, 0);
    }
}

}  // namespace
}  // namespace gw::platform
