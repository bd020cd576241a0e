#include "TransferPages.h"

#include <chrono>

#include "support/GzipPage.h"
#include "support/HttpServer.h"

namespace gw::test {
namespace {

using std::chrono::milliseconds;

// A bound on every endless page, so that no server loop can outlive a broken client.
constexpr std::size_t kEndlessLimit = std::size_t{256} << 20;

void ServeCutShort(httplib::Response& response, bool chunked) {
    const std::string part(1000, 'p');
    if (chunked) {
        response.set_chunked_content_provider(
            "text/html", [part](std::size_t offset, httplib::DataSink& sink) {
                return offset == 0 && sink.write(part.data(), part.size());
            });
    } else {
        response.set_content_provider(
            100000, "text/html", [part](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                return offset == 0 && sink.write(part.data(), part.size());
            });
    }
}

// `first`, then silence for `pause` (cut short when the server stops), then `last`.
void ServeWithPause(httplib::Response& response, std::stop_token stop, milliseconds pause,
                    std::string first, std::string last) {
    response.set_chunked_content_provider(
        "text/html", [=](std::size_t offset, httplib::DataSink& sink) {
            if (offset == 0)
                return sink.write(first.data(), first.size());
            if (!SleepUnlessStopped(pause, stop))
                return false;
            if (!last.empty() && !sink.write(last.data(), last.size()))
                return false;
            sink.done();
            return true;
        });
}

}  // namespace

std::string EveryByteAndLineEnd() {
    std::string bytes;
    for (int value = 0; value < 256; ++value)
        bytes += static_cast<char>(value);
    return bytes + "x\r\ny\nz\r\r\n\n\r\rend";
}

void ServePages(httplib::Server& server, std::stop_token stop) {
    const auto text = [&server](const std::string& path, int status, const std::string& body) {
        server.Get(path, [status, body](const httplib::Request&, httplib::Response& response) {
            response.status = status;
            response.set_content(body, "text/html");
        });
    };
    text("/page", 200, "hello page");
    text("/empty", 200, "");
    text("/missing", 404, "not here");
    text("/broken", 500, "server error");
    server.Get("/bytes", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(EveryByteAndLineEnd(), "application/octet-stream");
    });
    server.Get(R"(/hop/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
        const int left = std::stoi(request.matches[1]);
        if (left == 0)
            response.set_content("landed", "text/html");
        else
            response.set_redirect("/hop/" + std::to_string(left - 1));
    });
    server.Get("/to-endless", [stop](const httplib::Request&, httplib::Response& response) {
        response.status = 302;
        response.set_header("Location", "/hop/0");
        response.set_chunked_content_provider(
            "text/html", [stop](std::size_t offset, httplib::DataSink& sink) {
                static const std::string block(64 * 1024, 'r');
                return !stop.stop_requested() && offset < kEndlessLimit &&
                       sink.write(block.data(), block.size());
            });
    });
    server.Get("/to-file", [](const httplib::Request&, httplib::Response& response) {
        response.set_redirect("file:///etc/passwd");
    });
    server.Get("/to-dict", [](const httplib::Request&, httplib::Response& response) {
        response.set_redirect("dict://127.0.0.1:1/d:word");
    });
    server.Get("/cut-short", [](const httplib::Request&, httplib::Response& response) {
        ServeCutShort(response, false);
    });
    server.Get("/cut-short-chunked", [](const httplib::Request&, httplib::Response& response) {
        ServeCutShort(response, true);
    });
    server.Get("/slow", [stop](const httplib::Request&, httplib::Response& response) {
        ServeWithPause(response, stop, milliseconds(10000), "x", "");
    });
    server.Get("/pause", [stop](const httplib::Request&, httplib::Response& response) {
        ServeWithPause(response, stop, milliseconds(400), "a", "b");
    });
    server.Get("/endless", [stop](const httplib::Request&, httplib::Response& response) {
        response.set_chunked_content_provider("text/html",
                                              [stop](std::size_t offset, httplib::DataSink& sink) {
                                                  static const std::string block(64 * 1024, 'e');
                                                  if (stop.stop_requested())
                                                      return false;
                                                  if (offset >= kEndlessLimit) {
                                                      sink.done();
                                                      return true;
                                                  }
                                                  return sink.write(block.data(), block.size());
                                              });
    });
    server.Get("/gzip", [](const httplib::Request&, httplib::Response& response) {
        response.set_header("Content-Encoding", "gzip");
        response.set_content(kGzipPageBytes, "text/html");
    });
    server.Get("/client-port", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(std::to_string(request.remote_port), "text/plain");
    });
}

}  // namespace gw::test
