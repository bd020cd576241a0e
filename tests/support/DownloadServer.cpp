#include "support/DownloadServer.h"

#include <openssl/evp.h>

#include <cstdio>
#include <optional>

namespace gw::test {
namespace {

// A browser engine reads a page by its type: served text is a page or JSON by its name's end.
std::string TextType(const std::string& path) {
    if (path.ends_with(".html"))
        return "text/html";
    return path.ends_with(".json") ? "application/json" : "text/plain";
}

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

// One request as a route sees it: `hit` counts the requests for its path, this one included.
struct Exchange {
    DownloadServer& server;
    const httplib::Request& request;
    httplib::Response& response;
    int hit;
    std::stop_token stop;

    std::string name() const { return NameOf(request); }
    void sendFile(std::size_t size = 300 * 1024) const {
        response.set_content(FileBytes(name(), size), "application/octet-stream");
    }
    // The first request is refused with `status` and, when given, a Retry-After; the file
    // comes afterwards.
    void refuseFirst(int status, const char* retryAfter, const char* body = "") const {
        if (hit > 1)
            return sendFile();
        response.status = status;
        if (*retryAfter)
            response.set_header("Retry-After", retryAfter);
        if (*body)
            response.set_content(body, "text/plain");
    }
    // The file in pieces of 1000 bytes, each after `wait` returned true.
    template <class Wait>
    void sendInPieces(std::size_t size, Wait wait) const {
        response.set_content_provider(
            size, "application/octet-stream",
            [bytes = FileBytes(name(), size), wait](std::size_t offset, std::size_t,
                                                    httplib::DataSink& sink) {
                if (!wait(offset))
                    return false;
                sink.write(bytes.data() + offset, 1000);
                return true;
            });
    }
    const std::atomic<bool>& released() const { return server.released_; }
    int version() const { return server.version_; }
    const std::string& page() const { return server.page_; }
    std::optional<std::string> text() const {
        const std::lock_guard lock(server.mutex_);
        const auto text = server.texts_.find(request.path);
        return text == server.texts_.end() ? std::nullopt : std::optional(text->second);
    }
};

namespace {

// A page that sets a session cookie on the way to itself, and files that need both the cookie
// and the page as Referer, as hotlink protection does.
void GuardedStart(Exchange& x) {
    x.response.set_header("Set-Cookie", "session=s3cret; Path=/guarded; HttpOnly");
    x.response.set_redirect(x.server.url("/guarded/page"));
}

void GuardedFile(Exchange& x) {
    if (x.request.get_header_value("Referer") != x.server.url("/guarded/page") ||
        x.request.get_header_value("Cookie") != "session=s3cret")
        x.response.status = 403;
    else
        x.sendFile();
}

void MembersPage(Exchange& x) {
    if (x.request.get_header_value("Cookie") != "member=yes")
        x.response.status = 403;
    else
        x.response.set_content("<a href=\"/files/m.zip\">m</a>", "text/html");
}

void Resume(Exchange& x) {
    const std::string mode = x.request.matches[1];
    const bool first = x.hit == 1;
    const ResumeVersion served = VersionServed(mode, x.name(), first);
    const std::string& bytes = served.bytes;
    x.response.set_header("ETag", served.etag);
    x.response.set_header("Last-Modified", kResumeLastModified);
    x.response.set_header("Accept-Ranges", "bytes");
    // httplib would cut the body to the asked range itself; each mode answers its own way.
    const_cast<httplib::Request&>(x.request).ranges.clear();
    if (first)
        return SendHalf(x.response, bytes);
    // Like a cache that honours Range but not If-Range, a second version goes on at any
    // asked byte.
    const bool ignoresIfRange = HoldsSecondVersion(mode);
    std::size_t from = 0;
    if (std::sscanf(x.request.get_header_value("Range").c_str(), "bytes=%zu-", &from) != 1 ||
        mode == "ignores" ||
        (!ignoresIfRange && x.request.get_header_value("If-Range") != served.etag))
        return x.response.set_content(bytes, "application/octet-stream");
    if (mode == "refuses") {
        x.response.status = 416;
        return;
    }
    if (mode == "elsewhere")
        from = 0;
    x.response.status = 206;
    // As some servers do, the ranged answer names no date: the first answer's stands.
    x.response.headers.erase("Last-Modified");
    // A CDN that caps ranges sends 1000 bytes at the first ask; a server that lies sends more
    // than its range.
    const std::size_t end = mode == "short" && x.hit == 2 ? from + 1000 : bytes.size();
    x.response.set_header("Content-Range", "bytes " + std::to_string(from) + "-" +
                                               std::to_string(end - 1) + "/" +
                                               std::to_string(bytes.size()));
    x.response.set_content(
        bytes.substr(from, end - from) + (mode == "long" ? std::string(5000, 'x') : ""),
        "application/octet-stream");
}

void Versioned(Exchange& x) {
    const std::string mode = x.request.matches[1];
    const int version = x.version();
    const std::string etag = "\"v" + std::to_string(version) + "\"";
    const std::string date =
        version == 1 ? "Mon, 07 Nov 1994 08:49:37 GMT" : "Tue, 08 Nov 1994 08:49:37 GMT";
    if (mode != "date")
        x.response.set_header("ETag", etag);
    if (mode != "etag")
        x.response.set_header("Last-Modified", date);
    const bool same =
        x.request.has_header("If-None-Match")
            ? mode != "date" && x.request.get_header_value("If-None-Match") == etag
            : mode != "etag" && x.request.get_header_value("If-Modified-Since") == date;
    if (same && mode != "ignores") {
        x.response.status = 304;
        return;
    }
    x.response.set_content(FileBytes(x.name() + std::to_string(version), 20000),
                           "application/octet-stream");
}

struct Route {
    const char* pattern;
    void (*answer)(Exchange&);
};

const Route kRoutes[] = {
    {"/guarded/start", GuardedStart},
    {"/guarded/page",
     [](Exchange& x) { x.response.set_content("<a href=\"files/g.zip\">g</a>", "text/html"); }},
    {"/guarded/files/.*", GuardedFile},
    {"/members/page", MembersPage},
    // A file that only a visitor whose page script set "token=abc" may have.
    {"/cookie/.*",
     [](Exchange& x) {
         if (x.request.get_header_value("Cookie").find("token=abc") == std::string::npos)
             x.response.status = 403;
         else
             x.sendFile();
     }},
    {"/resume/([a-z]+)/.*", Resume},
    // /to/PORT/N sends the request on to /files/N on the server at PORT.
    {"/to/([0-9]+)/.*",
     [](Exchange& x) {
         x.response.set_redirect("http://127.0.0.1:" + x.request.matches[1].str() + "/files/" +
                                 x.name());
     }},
    {"/versioned/([a-z]+)/.*", Versioned},
    {"/text/.*", [](Exchange& x) { x.response.status = 404; }},
    {"/page", [](Exchange& x) { x.response.set_content(x.page(), "text/html"); }},
    {"/cut-page", [](Exchange& x) { SendHalf(x.response, x.page()); }},
    // A list server that accepts and then never answers.
    {"/files/.*\\.stalled",
     [](Exchange& x) {
         x.response.set_chunked_content_provider(
             "text/plain", [stop = x.stop](std::size_t, httplib::DataSink&) {
                 return SleepUnlessStopped(std::chrono::milliseconds(50), stop);
             });
     }},
    {"/files/.*", [](Exchange& x) { x.sendFile(); }},
    {"/missing/.*",
     [](Exchange& x) {
         x.response.status = 404;
         x.response.set_content("<h1>Not Found</h1>", "text/html");
     }},
    {"/reset/.*", [](Exchange& x) { SendHalf(x.response, FileBytes(x.name())); }},
    {"/flaky/.*",
     [](Exchange& x) { x.hit == 1 ? SendHalf(x.response, FileBytes(x.name())) : x.sendFile(); }},
    {"/busy/.*", [](Exchange& x) { x.refuseFirst(503, "0", "busy"); }},
    {"/later/.*", [](Exchange& x) { x.refuseFirst(429, "120", "later"); }},
    {"/status/([0-9]+)/.*",
     [](Exchange& x) {
         x.response.status = std::stoi(x.request.matches[1]);
         if (x.response.status != 204 && x.response.status != 205)
             x.response.set_content("not a file", "text/plain");
     }},
    {"/retry-after/([^/]+)/.*",
     [](Exchange& x) { x.refuseFirst(503, x.request.matches[1].str().c_str()); }},
    {"/slow/.*",
     [](Exchange& x) {
         x.sendInPieces(10 * 1000, [stop = x.stop](std::size_t) {
             return SleepUnlessStopped(std::chrono::milliseconds(30), stop);
         });
     }},
    {"/held/.*",
     [](Exchange& x) {
         x.sendInPieces(2000, [&released = x.released(), stop = x.stop](std::size_t offset) {
             while (offset > 0 && !released)
                 if (!SleepUnlessStopped(std::chrono::milliseconds(10), stop))
                     return false;
             return true;
         });
     }},
    {"/trickle/.*",
     [](Exchange& x) {
         x.response.set_chunked_content_provider(
             "application/octet-stream", [stop = x.stop](std::size_t, httplib::DataSink& sink) {
                 if (!SleepUnlessStopped(std::chrono::milliseconds(50), stop))
                     return false;
                 sink.write("x", 1);
                 return true;
             });
     }},
};

}  // namespace

DownloadServer::DownloadServer(std::string pageLinks) : page_(std::move(pageLinks)) {
    server_ = std::make_unique<HttpServer>([this](httplib::Server& server, std::stop_token stop) {
        server.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
            const std::lock_guard lock(mutex_);
            heard_[request.path] = {
                request.get_header_value("Referer"), request.get_header_value("Cookie"),
                request.get_header_value("Range"), request.get_header_value("If-None-Match"),
                request.get_header_value("If-Modified-Since")};
            return httplib::Server::HandlerResponse::Unhandled;
        });
        for (const Route& route : kRoutes)
            server.Get(route.pattern,
                       [this, stop, answer = route.answer](const httplib::Request& request,
                                                           httplib::Response& response) {
                           Exchange exchange{*this, request, response, count(request.path), stop};
                           // What serve() put at a path answers there, whatever route holds it.
                           if (const auto text = exchange.text(); text && text->empty())
                               response.status = 404;
                           else if (text)
                               response.set_content(*text, TextType(request.path));
                           else
                               answer(exchange);
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
