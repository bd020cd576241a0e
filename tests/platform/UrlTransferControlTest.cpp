// How a running transfer reports and stops: progress while a server is silent, stopping through the
// progress callback or abort(), a second request while one runs, and connection reuse.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <stdexcept>

#include "UrlTransferPages.h"
#include "platform/UrlTransfer.h"
#include "support/HttpServer.h"

namespace gw::platform {
namespace {

using Clock = std::chrono::steady_clock;
using test::HttpServer;

TEST(UrlTransferControlTest, ProgressKeepsComingWhileTheServerIsSilent) {
    HttpServer server(test::ServePages);
    UrlTransfer transfer;
    int callsAfterTheFirstByte = 0;
    Request request;
    request.progress = [&](std::uint64_t received, std::uint64_t) {
        callsAfterTheFirstByte += received == 1;
        return true;
    };
    std::string body;
    const TransferResult result = transfer.FetchToMemory(server.url("/pause"), body, request);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(body, "ab");
    // The window repaints through these calls, so they must not wait for data.
    EXPECT_GE(callsAfterTheFirstByte, 2);
}

TEST(UrlTransferControlTest, StopsWhenTheProgressCallbackSaysSo) {
    HttpServer server(test::ServePages);
    struct Case {
        const char* name;
        std::function<bool(UrlTransfer&)> onProgress;
    };
    for (const Case& c : {Case{"answers false", [](UrlTransfer&) { return false; }},
                          Case{"calls abort()", [](UrlTransfer& t) {
                                   t.abort();
                                   return true;
                               }}}) {
        SCOPED_TRACE(c.name);
        UrlTransfer transfer;
        Request request;
        request.progress = [&](std::uint64_t, std::uint64_t) { return c.onProgress(transfer); };
        std::string body;
        const auto start = Clock::now();
        const TransferResult stopped = transfer.FetchToMemory(server.url("/slow"), body, request);
        EXPECT_FALSE(stopped.ok);
        EXPECT_EQ(body, "");
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));

        // The stop belongs to that transfer only.
        const TransferResult next = transfer.FetchToMemory(server.url("/page"), body);
        EXPECT_TRUE(next.ok) << next.error;
        EXPECT_EQ(body, "hello page");
    }
}

TEST(UrlTransferControlTest, SinkThatRefusesOrThrowsFailsOnlyThatTransfer) {
    HttpServer server(test::ServePages);
    struct Case {
        const char* name;
        BodySink sink;
    };
    for (const Case& c : {Case{"answers false", [](const char*, std::size_t) { return false; }},
                          Case{"throws", [](const char*, std::size_t) -> bool {
                                   throw std::runtime_error("full");
                               }}}) {
        SCOPED_TRACE(c.name);
        UrlTransfer transfer;
        const TransferResult refused = transfer.Fetch(server.url("/bytes"), c.sink);
        EXPECT_FALSE(refused.ok);
        EXPECT_NE(refused.error, "");

        std::string body;
        const TransferResult next = transfer.FetchToMemory(server.url("/page"), body);
        EXPECT_TRUE(next.ok) << next.error;
        EXPECT_EQ(body, "hello page");
    }
}

TEST(UrlTransferControlTest, SecondRequestDuringATransferFailsAndLeavesItIntact) {
    HttpServer server(test::ServePages);
    UrlTransfer transfer;
    TransferResult inner;
    std::string innerBody;
    bool asked = false;
    Request request;
    request.progress = [&](std::uint64_t, std::uint64_t) {
        if (!asked)
            inner = transfer.FetchToMemory(server.url("/page"), innerBody);
        asked = true;
        return true;
    };
    std::string body;
    const TransferResult outer = transfer.FetchToMemory(server.url("/pause"), body, request);
    ASSERT_TRUE(asked);
    EXPECT_FALSE(inner.ok);
    EXPECT_EQ(innerBody, "");
    EXPECT_TRUE(outer.ok) << outer.error;
    EXPECT_EQ(body, "ab");
}

TEST(UrlTransferControlTest, ReusesTheConnectionAcrossRequests) {
    HttpServer server(test::ServePages);
    UrlTransfer transfer;
    std::string first;
    std::string second;
    ASSERT_TRUE(transfer.FetchToMemory(server.url("/client-port"), first).ok);
    ASSERT_TRUE(transfer.FetchToMemory(server.url("/client-port"), second).ok);
    EXPECT_NE(first, "");
    EXPECT_EQ(first, second);
}

}  // namespace
}  // namespace gw::platform
