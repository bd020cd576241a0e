#include "support/DownloadServer.h"

#include <openssl/evp.h>

#include <cstdio>

namespace gw::test {
namespace {

std::string NameOf(const httplib::Request& request) {
    return request.path.substr(request.path.rfind('/') + 1);
}

// Sends half of `bytes` under a Content-Length of all of them and drops the connection.
void SendHalf(httplib::Response& response, const std::string& bytes) {
    response.set_content_provider(
        bytes.size(), "application/octet-stream",
        [bytes](std::size_t offset, std::size_t, httplib::DataSink& sink) {
            if (offset >= bytes.size() / 2)
                return false;
            sink.write(bytes.data(), bytes.size() / 2);
            return true;
        });
}

// The modes of /resume/ whose later answers hold a second version of the file.
bool HoldsSecondVersion(const std::string& mode) {
    return mode == "newer" || mode == "regrown";
}

}  // namespace

ResumeVersion VersionServed(const std::string& mode, const std::string& name, bool first) {
    ResumeVersion version{mode == "regrown" ? "W/\"v1\"" : "\"v1\"", FileBytes(name)};
    if (!first && HoldsSecondVersion(mode)) {
        version.bytes =
            FileBytes(name + ".v2", version.bytes.size() + (mode == "newer" ? 0 : 1000));
        version.etag = mode == "newer" ? "\"v2\"" : version.etag;
    }
    return version;
}

std::string HexDigest(const char* algorithm, const std::string& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_get_digestbyname(algorithm),
               nullptr);
    std::string hex;
    for (unsigned int i = 0; i < length; ++i)
        hex += "0123456789abcdef"[digest[i] >> 4], hex += "0123456789abcdef"[digest[i] & 15];
    return hex;
}

std::string FileBytes(const std::string& name, std::size_t size) {
    std::string bytes(size, '\0');
    unsigned seed = 7;
    for (const char c : name)
        seed = seed * 31 + static_cast<unsigned char>(c);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + seed + i / 256) & 0xFF);
    return bytes;
}

DownloadServer::DownloadServer(std::string pageLinks) : page_(std::move(pageLinks)) {
    server_ = std::make_unique<HttpServer>([this](httplib::Server& server, std::stop_token stop) {
        server.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
            const std::lock_guard lock(mutex_);
            heard_[request.path] = {request.get_header_value("Referer"),
                                    request.get_header_value("Cookie"),
                                    request.get_header_value("Range")};
            return httplib::Server::HandlerResponse::Unhandled;
        });
        // A page that sets a session cookie on the way to itself, and files that need both
        // the cookie and the page as Referer, as hotlink protection does.
        server.Get("/guarded/start", [this](const httplib::Request&, httplib::Response& response) {
            response.set_header("Set-Cookie", "session=s3cret; Path=/guarded; HttpOnly");
            response.set_redirect(url("/guarded/page"));
        });
        server.Get("/guarded/page", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("<a href=\"files/g.zip\">g</a>", "text/html");
        });
        server.Get("/guarded/files/.*",
                   [this](const httplib::Request& request, httplib::Response& response) {
                       count(request.path);
                       if (request.get_header_value("Referer") != url("/guarded/page") ||
                           request.get_header_value("Cookie") != "session=s3cret") {
                           response.status = 403;
                           return;
                       }
                       response.set_content(FileBytes(NameOf(request)), "application/octet-stream");
                   });
        server.Get("/members/page",
                   [](const httplib::Request& request, httplib::Response& response) {
                       if (request.get_header_value("Cookie") != "member=yes") {
                           response.status = 403;
                           return;
                       }
                       response.set_content("<a href=\"/files/m.zip\">m</a>", "text/html");
                   });
        server.Get("/resume/([a-z]+)/.*", [this](const httplib::Request& request,
                                                 httplib::Response& response) {
            const std::string mode = request.matches[1];
            const bool first = count(request.path) == 1;
            const ResumeVersion served = VersionServed(mode, NameOf(request), first);
            const std::string& bytes = served.bytes;
            response.set_header("ETag", served.etag);
            response.set_header("Last-Modified", kResumeLastModified);
            response.set_header("Accept-Ranges", "bytes");
            // httplib would cut the body to the asked range itself; each mode answers its own way.
            const_cast<httplib::Request&>(request).ranges.clear();
            if (first)
                return SendHalf(response, bytes);
            // Like a cache that honours Range but not If-Range, a second version goes on at
            // any asked byte.
            const bool ignoresIfRange = HoldsSecondVersion(mode);
            std::size_t from = 0;
            if (std::sscanf(request.get_header_value("Range").c_str(), "bytes=%zu-", &from) != 1 ||
                mode == "ignores" ||
                (!ignoresIfRange && request.get_header_value("If-Range") != served.etag))
                return response.set_content(bytes, "application/octet-stream");
            if (mode == "refuses") {
                response.status = 416;
                return;
            }
            if (mode == "elsewhere")
                from = 0;
            response.status = 206;
            // As some servers do, the ranged answer names no date: the first answer's stands.
            response.headers.erase("Last-Modified");
            response.set_header("Content-Range", "bytes " + std::to_string(from) + "-" +
                                                     std::to_string(bytes.size() - 1) + "/" +
                                                     std::to_string(bytes.size()));
            response.set_content(bytes.substr(from), "application/octet-stream");
        });
        // /to/PORT/N sends the request on to /files/N on the server at PORT.
        server.Get("/to/([0-9]+)/.*",
                   [this](const httplib::Request& request, httplib::Response& response) {
                       count(request.path);
                       response.set_redirect("http://127.0.0.1:" + request.matches[1].str() +
                                             "/files/" + NameOf(request));
                   });
        server.Get("/text/.*",
                   [this](const httplib::Request& request, httplib::Response& response) {
                       count(request.path);
                       const std::lock_guard lock(mutex_);
                       if (const auto text = texts_.find(request.path); text != texts_.end())
                           response.set_content(text->second, "text/plain");
                       else
                           response.status = 404;
                   });
        server.Get("/page", [this](const httplib::Request& request, httplib::Response& response) {
            count(request.path);
            response.set_content(page_, "text/html");
        });
        server.Get("/files/.*",
                   [this](const httplib::Request& request, httplib::Response& response) {
                       count(request.path);
                       response.set_content(FileBytes(NameOf(request)), "application/octet-stream");
                   });
        server.Get("/missing/.*",
                   [this](const httplib::Request& request, httplib::Response& response) {
                       count(request.path);
                       response.status = 404;
                       response.set_content("<h1>Not Found</h1>", "text/html");
                   });
        server.Get("/reset/.*",
                   [this](const httplib::Request& request, httplib::Response& response) {
                       count(request.path);
                       SendHalf(response, FileBytes(NameOf(request)));
                   });
        server.Get(
            "/flaky/.*", [this](const httplib::Request& request, httplib::Response& response) {
                if (count(request.path) == 1)
                    SendHalf(response, FileBytes(NameOf(request)));
                else
                    response.set_content(FileBytes(NameOf(request)), "application/octet-stream");
            });
        server.Get(
            "/busy/.*", [this](const httplib::Request& request, httplib::Response& response) {
                if (count(request.path) == 1) {
                    response.status = 503;
                    response.set_header("Retry-After", "0");
                    response.set_content("busy", "text/plain");
                } else {
                    response.set_content(FileBytes(NameOf(request)), "application/octet-stream");
                }
            });
        server.Get(
            "/later/.*", [this](const httplib::Request& request, httplib::Response& response) {
                if (count(request.path) == 1) {
                    response.status = 429;
                    response.set_header("Retry-After", "120");
                    response.set_content("later", "text/plain");
                } else {
                    response.set_content(FileBytes(NameOf(request)), "application/octet-stream");
                }
            });
        // /status/CODE/N answers CODE with no Location; /retry-after/VALUE/N answers 503 with
        // that Retry-After first.
        server.Get("/status/([0-9]+)/.*",
                   [this](const httplib::Request& request, httplib::Response& response) {
                       count(request.path);
                       response.status = std::stoi(request.matches[1]);
                       if (response.status != 204 && response.status != 205)
                           response.set_content("not a file", "text/plain");
                   });
        server.Get("/retry-after/([^/]+)/.*", [this](const httplib::Request& request,
                                                     httplib::Response& response) {
            if (count(request.path) == 1) {
                response.status = 503;
                response.set_header("Retry-After", request.matches[1].str());
            } else {
                response.set_content(FileBytes(NameOf(request)), "application/octet-stream");
            }
        });
        server.Get("/slow/.*",
                   [this, stop](const httplib::Request& request, httplib::Response& response) {
                       count(request.path);
                       const std::string bytes = FileBytes(NameOf(request), 10 * 1000);
                       response.set_content_provider(
                           bytes.size(), "application/octet-stream",
                           [bytes, stop](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                               if (!SleepUnlessStopped(std::chrono::milliseconds(30), stop))
                                   return false;
                               sink.write(bytes.data() + offset, 1000);
                               return true;
                           });
                   });
        server.Get(
            "/held/.*", [this, stop](const httplib::Request& request, httplib::Response& response) {
                count(request.path);
                const std::string bytes = FileBytes(NameOf(request), 2000);
                response.set_content_provider(
                    bytes.size(), "application/octet-stream",
                    [this, bytes, stop](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                        while (offset > 0 && !released_) {
                            if (!SleepUnlessStopped(std::chrono::milliseconds(10), stop))
                                return false;
                        }
                        sink.write(bytes.data() + offset, 1000);
                        return true;
                    });
            });
        server.Get("/trickle/.*", [this, stop](const httplib::Request& request,
                                               httplib::Response& response) {
            count(request.path);
            response.set_chunked_content_provider(
                "application/octet-stream", [stop](std::size_t, httplib::DataSink& sink) {
                    if (!SleepUnlessStopped(std::chrono::milliseconds(50), stop))
                        return false;
                    sink.write("x", 1);
                    return true;
                });
        });
    });
}

void DownloadServer::serve(const std::string& path, std::string body) {
    const std::lock_guard lock(mutex_);
    texts_[path] = std::move(body);
}

int DownloadServer::count(const std::string& path) {
    const std::lock_guard lock(mutex_);
    return ++hits_[path];
}

DownloadServer::Heard DownloadServer::heard(const std::string& path) {
    const std::lock_guard lock(mutex_);
    return heard_[path];
}

int DownloadServer::hits(const std::string& path) {
    const std::lock_guard lock(mutex_);
    return hits_[path];
}

}  // namespace gw::test
