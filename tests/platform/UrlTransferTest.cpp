// What a transfer delivers: bodies byte for byte, failures for error statuses, broken and
// slow servers, redirects that leave the web, oversized bodies, HTTPS and FTP.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

#include "UrlTransferPages.h"
#include "platform/UrlTransfer.h"
#include "support/FtpServer.h"
#include "support/GzipPage.h"
#include "support/HttpServer.h"
#include "support/TempEnvironment.h"

namespace gw::platform {
namespace {

using test::EveryByteAndLineEnd;
using test::HttpServer;

enum class Mode { Memory, Stream };

struct Outcome {
    TransferResult result;
    std::string bytes;  // the whole body (Memory) or what reached the sink (Stream)
};

Outcome Get(UrlTransfer& transfer, const std::string& address, Mode mode,
            const Request& request = {}) {
    Outcome outcome;
    if (mode == Mode::Memory) {
        outcome.result = transfer.FetchToMemory(address, outcome.bytes, request);
    } else {
        outcome.result = transfer.Fetch(
            address,
            [&](const char* data, std::size_t size) {
                outcome.bytes.append(data, size);
                return true;
            },
            request);
    }
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
    UrlTransfer transfer;
    for (Mode mode : {Mode::Memory, Mode::Stream}) {
        SCOPED_TRACE(mode == Mode::Memory ? "FetchToMemory" : "Fetch");
        const Outcome outcome = Get(transfer, server.url(answer.path), mode);
        EXPECT_EQ(outcome.result.ok, answer.ok) << outcome.result.error;
        EXPECT_EQ(outcome.result.httpStatus, answer.status);
        EXPECT_EQ(outcome.result.finalAddress, server.url(answer.path));
        if (answer.ok) {
            EXPECT_EQ(outcome.bytes, answer.body);
            EXPECT_EQ(outcome.result.error, "");
        } else {
            EXPECT_NE(outcome.result.error, "");
            if (mode == Mode::Memory || !answer.streamsPart) {
                EXPECT_EQ(outcome.bytes, "");
            }
        }
        if (answer.status >= 400) {
            EXPECT_NE(outcome.result.error.find(std::to_string(answer.status)), std::string::npos);
        }
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

TEST(UrlTransferTest, CompressedBodyIsDecodedOnlyWhenAskedFor) {
    HttpServer server(test::ServePages);
    UrlTransfer transfer;
    for (Mode mode : {Mode::Memory, Mode::Stream}) {
        for (bool accept : {true, false}) {
            SCOPED_TRACE(std::string(accept ? "asked" : "not asked") +
                         (mode == Mode::Memory ? " FetchToMemory" : " Fetch"));
            Request request;
            request.acceptCompressed = accept;
            const Outcome outcome = Get(transfer, server.url("/gzip"), mode, request);
            EXPECT_TRUE(outcome.result.ok) << outcome.result.error;
            EXPECT_EQ(outcome.bytes, accept ? test::kGzipPageText : test::kGzipPageBytes);
        }
    }
}

TEST(UrlTransferTest, FollowsUpToTenRedirectsWithinTheWebOnly) {
    HttpServer server(test::ServePages);
    struct Case {
        const char* path;
        bool ok;
        const char* finalPath;
    };
    for (const Case& c : {Case{"/hop/10", true, "/hop/0"}, Case{"/hop/11", false, nullptr},
                          Case{"/to-file", false, nullptr}, Case{"/to-dict", false, nullptr}}) {
        SCOPED_TRACE(c.path);
        UrlTransfer transfer;
        std::string body = "stale";
        const TransferResult result = transfer.FetchToMemory(server.url(c.path), body);
        EXPECT_EQ(result.ok, c.ok) << result.error;
        EXPECT_EQ(body, c.ok ? "landed" : "");
        if (c.ok) {
            EXPECT_EQ(result.finalAddress, server.url(c.finalPath));
        }
    }
}

TEST(UrlTransferTest, TypedAddressOutsideTheWebFailsWithoutReading) {
    for (const char* address :
         {"file:///etc/passwd", "FILE:///etc/passwd", "file://localhost/etc/passwd", "/etc/passwd",
          "dict://127.0.0.1:1/d:word", "gopher://127.0.0.1:1/", "telnet://127.0.0.1:1/"}) {
        SCOPED_TRACE(address);
        UrlTransfer transfer;
        std::string body;
        const TransferResult result = transfer.FetchToMemory(address, body);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error, "");
        EXPECT_EQ(body, "");
    }
}

TEST(UrlTransferTest, SilentServerFailsAfterTheLowSpeedTime) {
    HttpServer server(test::ServePages);
    TransferOptions options;
    options.lowSpeedTimeSeconds = 1;
    UrlTransfer transfer(options);
    std::string body;
    const auto start = std::chrono::steady_clock::now();
    const TransferResult result = transfer.FetchToMemory(server.url("/slow"), body);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(body, "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(UrlTransferTest, BodyPastTheCapFails) {
    HttpServer server(test::ServePages);
    const std::uint64_t size = EveryByteAndLineEnd().size();
    struct Case {
        const char* path;
        std::uint64_t cap;
        bool ok;
    };
    for (const Case& c : {Case{"/endless", 1 << 20, false}, Case{"/bytes", size - 1, false},
                          Case{"/bytes", size, true}}) {
        for (Mode mode : {Mode::Memory, Mode::Stream}) {
            SCOPED_TRACE(std::string(c.path) + " cap " + std::to_string(c.cap) +
                         (mode == Mode::Memory ? " FetchToMemory" : " Fetch"));
            Request request;
            request.maxBodyBytes = c.cap;
            UrlTransfer transfer;
            const Outcome outcome = Get(transfer, server.url(c.path), mode, request);
            EXPECT_EQ(outcome.result.ok, c.ok) << outcome.result.error;
            EXPECT_LE(outcome.bytes.size(), c.cap);
            if (mode == Mode::Memory && !c.ok) {
                EXPECT_EQ(outcome.bytes, "");
            }
        }
    }
}

TEST(UrlTransferTest, HttpsNeedsATrustedCertificate) {
    HttpServer server(test::ServePages, HttpServer::Scheme::Https);
    for (bool trusted : {true, false}) {
        SCOPED_TRACE(trusted ? "trusted" : "not trusted");
        TransferOptions options;
        if (trusted)
            options.extraCaFile = server.caFile();
        UrlTransfer transfer(options);
        std::string body;
        const TransferResult result = transfer.FetchToMemory(server.url("/bytes"), body);
        EXPECT_EQ(result.ok, trusted) << result.error;
        EXPECT_EQ(body, trusted ? EveryByteAndLineEnd() : "");
        if (trusted) {
            EXPECT_EQ(result.httpStatus, 200);
        }
    }
}

TEST(UrlTransferTest, FetchesOverFtp) {
    const std::filesystem::path folder = std::filesystem::path(test::TestRoot()) / "ftp";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "page.bin", std::ios::binary) << EveryByteAndLineEnd();
    test::FtpServer server(folder.string());
    UrlTransfer transfer;
    for (const bool present : {true, false}) {
        SCOPED_TRACE(present ? "present" : "absent");
        std::string body;
        const TransferResult result =
            transfer.FetchToMemory(server.url(present ? "/page.bin" : "/absent.bin"), body);
        EXPECT_EQ(result.ok, present) << result.error;
        EXPECT_EQ(body, present ? EveryByteAndLineEnd() : "");
        EXPECT_EQ(result.httpStatus, 0);
    }
}

}  // namespace
}  // namespace gw::platform
