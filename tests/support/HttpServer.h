#pragma once

#include <httplib.h>

#include <chrono>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>

namespace gw::test {

class SelfSignedCertificate;

// A real HTTP or HTTPS server on 127.0.0.1 at a port of its own, serving from its own thread
// (a blocking transfer on the test thread would otherwise wait on itself). It accepts
// connections once constructed and is stopped and joined when destroyed.
class HttpServer {
  public:
    enum class Scheme { Http, Https };
    // Registers the handlers. `stop` is requested when the server shuts down, so that a
    // handler that stalls on purpose ends early instead of holding up the test.
    using Routes = std::function<void(httplib::Server& server, std::stop_token stop)>;

    explicit HttpServer(const Routes& routes, Scheme scheme = Scheme::Http);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    int port() const { return port_; }
    // The address of `path` on this server, e.g. "http://127.0.0.1:40123/page".
    std::string url(const std::string& path) const;
    // The certificate a client must trust (TransferOptions::extraCaFile); "" for HTTP.
    std::string caFile() const;

  private:
    std::unique_ptr<SelfSignedCertificate> certificate_;
    std::unique_ptr<httplib::Server> server_;
    std::stop_source stop_;
    std::thread thread_;
    int port_ = -1;
};

// Sleeps for `limit` in short steps; false when `stop` cut the sleep short.
bool SleepUnlessStopped(std::chrono::milliseconds limit, const std::stop_token& stop);

}  // namespace gw::test
