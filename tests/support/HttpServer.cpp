#include "support/HttpServer.h"

#include <stdexcept>

#include "support/SelfSignedCertificate.h"

namespace gw::test {
namespace {

// A client that keeps its connection open would otherwise hold the shutdown for the
// server's default keep-alive wait of five seconds.
constexpr time_t kKeepAliveSeconds = 1;
constexpr auto kStartLimit = std::chrono::seconds(5);

}  // namespace

HttpServer::HttpServer(const Routes& routes, Scheme scheme) {
    if (scheme == Scheme::Https) {
        certificate_ = std::make_unique<SelfSignedCertificate>();
        server_ = std::make_unique<httplib::SSLServer>(certificate_->certificateFile().c_str(),
                                                       certificate_->keyFile().c_str());
    } else {
        server_ = std::make_unique<httplib::Server>();
    }
    if (!server_->is_valid())
        throw std::runtime_error("the test server could not be set up");
    server_->set_keep_alive_timeout(kKeepAliveSeconds);
    routes(*server_, stop_.get_token());

    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0)
        throw std::runtime_error("the test server found no port");
    httplib::Server* server = server_.get();
    thread_ = std::thread([server] { server->listen_after_bind(); });
    // stop() does nothing until the loop runs, so the destructor must not come before it.
    const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
    while (!server_->is_running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!server_->is_running()) {
        // The thread may still start later: leave it a server that stays alive.
        static_cast<void>(server_.release());
        thread_.detach();
        throw std::runtime_error("the test server did not start");
    }
}

HttpServer::~HttpServer() {
    stop_.request_stop();
    server_->stop();
    thread_.join();
}

std::string HttpServer::url(const std::string& path) const {
    return std::string(certificate_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) +
           path;
}

std::string HttpServer::caFile() const {
    return certificate_ ? certificate_->certificateFile() : std::string();
}

bool SleepUnlessStopped(std::chrono::milliseconds limit, const std::stop_token& stop) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (stop.stop_requested())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return !stop.stop_requested();
}

}  // namespace gw::test
