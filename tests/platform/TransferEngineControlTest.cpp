// How a running transfer reports and stops: progress while a server is silent, stopping through the
// progress callback or abort(), a second request while one runs, and connection reuse.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <stdexcept>

#include "TransferPages.h"
#include "platform/TransferEngine.h"
#include "support/HttpServer.h"

namespace gw::platform {
namespace {

using Clock = std::chrono::steady_clock;
using test::HttpServer;

// The body of a blocking fetch, as far as it came.
TransferResult Get(TransferEngine& engine, const std::string& address, std::string& body,
                   const TransferProgress& progress = {}, BodySink sink = {}) {
    body.clear();
    Request request;
    request.address = address;
    request.sink = sink ? std::move(sink) : [&](const char* data, std::size_t size) {
        body.append(data, size);
        return true;
    };
    return engine.Fetch(std::move(request), progress);
}

TEST(TransferEngineControlTest, ProgressKeepsComingWhileTheServerIsSilent) {
    HttpServer server(test::ServePages);
    TransferEngine engine;
    int callsAfterTheFirstByte = 0;
    const TransferProgress progress = [&](std::uint64_t received, std::uint64_t) {
        callsAfterTheFirstByte += received == 1;
        return true;
    };
    std::string body;
    const TransferResult result = Get(engine, server.url("/pause"), body, progress);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(body, "ab");
    // The window repaints through these calls, so they must not wait for data.
    EXPECT_GE(callsAfterTheFirstByte, 2);
}

TEST(TransferEngineControlTest, StopsWhenTheProgressCallbackSaysSo) {
    HttpServer server(test::ServePages);
    struct Case {
        const char* name;
        std::function<bool(TransferEngine&)> onProgress;
    };
    for (const Case& c : {Case{"answers false", [](TransferEngine&) { return false; }},
                          Case{"calls abort()", [](TransferEngine& t) {
                                   t.abort();
                                   return true;
                               }}}) {
        SCOPED_TRACE(c.name);
        TransferEngine engine;
        const TransferProgress progress = [&](std::uint64_t, std::uint64_t) {
            return c.onProgress(engine);
        };
        std::string body;
        const auto start = Clock::now();
        const TransferResult stopped = Get(engine, server.url("/slow"), body, progress);
        EXPECT_TRUE(stopped.cancelled());
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));

        // The stop belongs to that transfer only.
        const TransferResult next = Get(engine, server.url("/page"), body);
        EXPECT_TRUE(next.ok) << next.error;
        EXPECT_EQ(body, "hello page");
    }
}

TEST(TransferEngineControlTest, SinkThatRefusesOrThrowsFailsOnlyThatTransfer) {
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
        TransferEngine engine;
        std::string body;
        const TransferResult refused = Get(engine, server.url("/bytes"), body, {}, c.sink);
        EXPECT_EQ(refused.failure, FailureKind::Local);
        EXPECT_NE(refused.error, "");

        const TransferResult next = Get(engine, server.url("/page"), body);
        EXPECT_TRUE(next.ok) << next.error;
        EXPECT_EQ(body, "hello page");
    }
}

TEST(TransferEngineControlTest, SecondRequestDuringATransferFailsAndLeavesItIntact) {
    HttpServer server(test::ServePages);
    TransferEngine engine;
    TransferResult inner;
    std::string innerBody;
    bool asked = false;
    const TransferProgress progress = [&](std::uint64_t, std::uint64_t) {
        if (!asked)
            inner = Get(engine, server.url("/page"), innerBody);
        asked = true;
        return true;
    };
    std::string body;
    const TransferResult outer = Get(engine, server.url("/pause"), body, progress);
    ASSERT_TRUE(asked);
    EXPECT_FALSE(inner.ok);
    EXPECT_EQ(innerBody, "");
    EXPECT_TRUE(outer.ok) << outer.error;
    EXPECT_EQ(body, "ab");
}

TEST(TransferEngineControlTest, ReusesTheConnectionAcrossRequests) {
    HttpServer server(test::ServePages);
    TransferEngine engine;
    std::string first;
    std::string second;
    ASSERT_TRUE(Get(engine, server.url("/client-port"), first).ok);
    ASSERT_TRUE(Get(engine, server.url("/client-port"), second).ok);
    EXPECT_NE(first, "");
    EXPECT_EQ(first, second);
}

}  // namespace
}  // namespace gw::platform
