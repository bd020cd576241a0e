#include "platform/TransferEngine.h"

#include <curl/curl.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <fstream>
#include <mutex>

#include "platform/CurlAnswer.h"
#include "platform/CurlHandle.h"
#include "platform/CurlSetup.h"
#include "platform/Referrer.h"

namespace gw::platform {
namespace {

// How long one wait for socket activity may last in a blocking fetch, so that its progress
// callback keeps coming while a server is silent (libcurl's own loop waits up to a second).
constexpr std::chrono::milliseconds kTurn{10};
constexpr int kMaxRedirects = 10;
// A redirect's own body is read past only this far; a server that never ends one must not
// keep the transfer from going on.
constexpr std::uint64_t kMaxRedirectBody = 64 * 1024;
constexpr std::size_t kBlockingId = static_cast<std::size_t>(-1);

TransferResult Failed(FailureKind kind, std::string error) {
    TransferResult result;
    result.failure = kind;
    result.error = std::move(error);
    return result;
}

// One easy handle and what its transfer in progress needs; kept for the next transfer, so
// that its settings are made once.
struct Slot {
    CurlEasy easy;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    Request request;
    CurlList headers;
    std::size_t id = 0;
    bool busy = false;
    int hops = 0;
    std::uint64_t received = 0;
    // The answer of the current hop.
    bool headSeen = false;
    bool redirect = false;
    std::uint64_t skipped = 0;  // bytes of a redirect's body passed over
    ResponseHead head;
    // Why the transfer stops, when the engine's callbacks stopped it.
    FailureKind stop = FailureKind::None;
    std::string stopWhy;

    void stopWith(FailureKind kind, std::string why) {
        stop = kind;
        stopWhy = std::move(why);
    }

    // Reads the answer's head once; a redirect's body is skipped, any other answer is put
    // to the caller's check.
    bool takeHead() {
        if (headSeen)
            return stop == FailureKind::None;
        headSeen = true;
        head = ReadHead(easy.get());
        redirect = !RedirectTarget(easy.get(), head.httpStatus).empty();
        if (redirect || !request.checkHead)
            return true;
        try {
            if (std::string why = request.checkHead(head); !why.empty())
                stopWith(FailureKind::Unwanted, std::move(why));
        } catch (const std::exception& error) {
            stopWith(FailureKind::Local, std::string("the transfer stopped: ") + error.what());
        }
        return stop == FailureKind::None;
    }

    bool take(const char* data, std::size_t size) {
        if (!takeHead())
            return false;
        if (redirect) {
            skipped += size;
            return skipped <= kMaxRedirectBody;
        }
        const std::uint64_t cap = request.maxBodyBytes;
        if (cap != 0 && size > cap - received) {
            stopWith(FailureKind::Local,
                     "the body is larger than " + std::to_string(cap) + " bytes");
            return false;
        }
        if (!request.sink(data, size)) {
            stopWith(FailureKind::Local, "the body could not be stored");
            return false;
        }
        received += size;
        return true;
    }

    // Exceptions must not unwind through libcurl's C frames; they end the transfer instead.
    static std::size_t onWrite(char* data, std::size_t, std::size_t size, void* self) {
        auto& slot = *static_cast<Slot*>(self);
        try {
            return slot.take(data, size) ? size : 0;
        } catch (const std::exception& error) {
            slot.stopWith(FailureKind::Local, std::string("the transfer stopped: ") + error.what());
        } catch (...) {
            slot.stopWith(FailureKind::Local, "the transfer stopped: unknown error");
        }
        return 0;
    }

    // The settings of one hop: its address, and the Referer the policy gives it.
    bool aim(const std::string& address) {
        headSeen = redirect = false;
        skipped = 0;
        head = {};
        errorBuffer[0] = '\0';
        const std::string referrer = ReferrerFor(request.referrerPage, address);
        return curl_easy_setopt(easy.get(), CURLOPT_URL, address.c_str()) == CURLE_OK &&
               curl_easy_setopt(easy.get(), CURLOPT_REFERER,
                                referrer.empty() ? nullptr : referrer.c_str()) == CURLE_OK;
    }

    // The settings that differ from one transfer to the next.
    bool prepare() {
        hops = 0;
        received = 0;
        stop = FailureKind::None;
        stopWhy.clear();
        headers.reset();
        if (!request.ifRange.empty())
            headers.reset(curl_slist_append(nullptr, ("If-Range: " + request.ifRange).c_str()));
        const std::string range =
            request.rangeFrom > 0 ? std::to_string(request.rangeFrom) + "-" : std::string();
        CURL* handle = easy.get();
        // NULL turns decoding off, so a download is never altered on the way to disk.
        return curl_easy_setopt(handle, CURLOPT_ACCEPT_ENCODING,
                                request.acceptCompressed ? "" : nullptr) == CURLE_OK &&
               curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE,
                                static_cast<curl_off_t>(request.maxBodyBytes)) == CURLE_OK &&
               curl_easy_setopt(handle, CURLOPT_RANGE, range.empty() ? nullptr : range.c_str()) ==
                   CURLE_OK &&
               curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get()) == CURLE_OK &&
               aim(request.address);
    }
};

}  // namespace

struct TransferEngine::Impl {
    TransferOptions options;
    CurlMulti multi{curl_multi_init()};
    CurlShare cookies{curl_share_init()};
    std::vector<std::unique_ptr<Slot>> slots;
    std::size_t busy = 0;
    std::vector<FinishedTransfer> unreported;
    bool fetching = false;
    bool abortRequested = false;

    explicit Impl(TransferOptions transferOptions) : options(std::move(transferOptions)) {
        if (multi)
            curl_multi_setopt(multi.get(), CURLMOPT_PIPELINING, CURLPIPE_MULTIPLEX);
        if (cookies)
            curl_share_setopt(cookies.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    }

    ~Impl() { abortAll(); }

    std::unique_ptr<Slot> makeSlot() {
        auto slot = std::make_unique<Slot>();
        slot->easy.reset(curl_easy_init());
        if (!slot->easy || !cookies)
            return nullptr;
        CURL* easy = slot->easy.get();
        const bool ok = ConfigureEasy(easy, options, slot->errorBuffer) &&
                        curl_easy_setopt(easy, CURLOPT_SHARE, cookies.get()) == CURLE_OK &&
                        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Slot::onWrite) == CURLE_OK &&
                        curl_easy_setopt(easy, CURLOPT_WRITEDATA, slot.get()) == CURLE_OK &&
                        curl_easy_setopt(easy, CURLOPT_PRIVATE, slot.get()) == CURLE_OK;
        return ok ? std::move(slot) : nullptr;
    }

    Slot* freeSlot() {
        for (auto& slot : slots) {
            if (!slot->busy)
                return slot.get();
        }
        // A handle whose settings libcurl refused must not be used: a refused scheme
        // restriction would let an address reach local files.
        auto slot = makeSlot();
        if (!slot)
            return nullptr;
        slots.push_back(std::move(slot));
        return slots.back().get();
    }

    void refuse(std::size_t id, FailureKind kind, std::string why) {
        unreported.push_back({id, Failed(kind, std::move(why))});
    }

    void start(std::size_t id, Request request) {
        Slot* slot = multi ? freeSlot() : nullptr;
        if (slot == nullptr)
            return refuse(id, FailureKind::Other, "the transfer component could not be set up");
        slot->request = std::move(request);
        slot->id = id;
        if (!slot->prepare())
            return refuse(id, FailureKind::Other, "the address could not be used");
        if (curl_multi_add_handle(multi.get(), slot->easy.get()) != CURLM_OK)
            return refuse(id, FailureKind::Other, "the transfer could not be started");
        slot->busy = true;
        ++busy;
    }

    void release(Slot& slot) {
        curl_multi_remove_handle(multi.get(), slot.easy.get());
        slot.busy = false;
        slot.request = {};
        --busy;
    }

    // Follows a redirect with the same handle; false when the transfer ends here instead.
    bool follow(Slot& slot) {
        const std::string target = RedirectTarget(slot.easy.get(), slot.head.httpStatus);
        if (++slot.hops > kMaxRedirects) {
            slot.stopWith(FailureKind::Other,
                          "Maximum (" + std::to_string(kMaxRedirects) + ") redirects followed");
            return false;
        }
        curl_multi_remove_handle(multi.get(), slot.easy.get());
        if (!slot.aim(target)) {
            slot.stopWith(FailureKind::Other, "the redirect to " + target + " could not be used");
            return false;
        }
        if (curl_multi_add_handle(multi.get(), slot.easy.get()) != CURLM_OK) {
            slot.stopWith(FailureKind::Other, "the transfer could not be started");
            return false;
        }
        return true;
    }

    TransferResult describe(Slot& slot, CURLcode code) {
        TransferResult result;
        CURL* easy = slot.easy.get();
        const char* effective = nullptr;
        if (curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective)
            result.finalAddress = effective;
        result.redirected = slot.hops > 0;
        result.head = slot.headSeen ? slot.head : ReadHead(easy);
        result.httpStatus = result.head.httpStatus;
        result.retryAfter = HeaderValue(easy, "Retry-After");
        result.bytes = slot.received;
        if (slot.stop != FailureKind::None) {
            result.failure = slot.stop;
            result.error = slot.stopWhy;
        } else if (code != CURLE_OK) {
            result.failure = FailureOf(code);
            result.error =
                slot.errorBuffer[0] != '\0' ? slot.errorBuffer : curl_easy_strerror(code);
            if (result.httpStatus >= 400)
                result.error =
                    "HTTP status " + std::to_string(result.httpStatus) + ": " + result.error;
        } else {
            result.ok = true;
        }
        return result;
    }

    void complete(Slot& slot, CURLcode code, std::vector<FinishedTransfer>& finished) {
        // An answer without a body is put to the same check as one with a body; a redirect
        // whose body was cut short is followed all the same.
        const bool cutRedirect = slot.redirect && slot.skipped > kMaxRedirectBody;
        if ((code == CURLE_OK || cutRedirect) && slot.takeHead() && slot.redirect && follow(slot))
            return;
        finished.push_back({slot.id, describe(slot, code)});
        release(slot);
    }

    // libcurl could not drive its transfers at all: each of them ends with the reason, so
    // that no caller waits on them.
    void failAll(const char* why, std::vector<FinishedTransfer>& finished) {
        for (auto& slot : slots) {
            if (!slot->busy)
                continue;
            finished.push_back(
                {slot->id, Failed(FailureKind::Other,
                                  std::string("the transfers could not be driven: ") + why)});
            release(*slot);
        }
    }

    std::vector<FinishedTransfer> step(std::chrono::milliseconds wait) {
        std::vector<FinishedTransfer> finished;
        finished.swap(unreported);
        if (busy == 0)
            return finished;
        if (finished.empty()) {
            const CURLMcode polled =
                curl_multi_poll(multi.get(), nullptr, 0, static_cast<int>(wait.count()), nullptr);
            if (polled != CURLM_OK) {
                failAll(curl_multi_strerror(polled), finished);
                return finished;
            }
        }
        int running = 0;
        const CURLMcode performed = curl_multi_perform(multi.get(), &running);
        if (performed != CURLM_OK) {
            failAll(curl_multi_strerror(performed), finished);
            return finished;
        }
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi.get(), &queued)) {
            if (message->msg != CURLMSG_DONE)
                continue;
            void* data = nullptr;
            curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &data);
            complete(*static_cast<Slot*>(data), message->data.result, finished);
        }
        return finished;
    }

    void abortAll() {
        for (auto& slot : slots) {
            if (slot->busy)
                release(*slot);
        }
        unreported.clear();
    }

    const Slot* find(std::size_t id) const {
        for (const auto& slot : slots) {
            if (slot->busy && slot->id == id)
                return slot.get();
        }
        return nullptr;
    }

    std::uint64_t expected(std::size_t id) const {
        const Slot* slot = find(id);
        curl_off_t length = -1;
        if (slot == nullptr ||
            curl_easy_getinfo(slot->easy.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) !=
                CURLE_OK ||
            length < 0)
            return 0;
        return static_cast<std::uint64_t>(length);
    }

    // False when the blocking fetch is to stop; a throwing callback stops it with its reason.
    bool keepGoing(const TransferProgress& progress, std::string& why) {
        if (abortRequested || !progress)
            return !abortRequested;
        try {
            const Slot* slot = find(kBlockingId);
            return progress(slot ? slot->received : 0, expected(kBlockingId)) && !abortRequested;
        } catch (const std::exception& error) {
            why = error.what();
        } catch (...) {
            why = "unknown error";
        }
        return false;
    }

    TransferResult fetch(Request request, const TransferProgress& progress) {
        // The progress callback lets the user interface run, which may ask for another one.
        if (fetching || busy > 0 || !unreported.empty())
            return Failed(FailureKind::Other, "another transfer is in progress");
        fetching = true;
        abortRequested = false;
        start(kBlockingId, std::move(request));
        TransferResult result;
        for (;;) {
            std::vector<FinishedTransfer> done = step(kTurn);
            if (!done.empty()) {
                result = std::move(done.front().result);
                break;
            }
            std::string why;
            if (!keepGoing(progress, why)) {
                abortAll();
                result = why.empty() ? Failed(FailureKind::Cancelled, "the transfer was cancelled")
                                     : Failed(FailureKind::Local, "the transfer stopped: " + why);
                break;
            }
        }
        fetching = false;
        return result;
    }

    bool loadCookies(const std::string& path, std::string& why) {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            why = "the cookies file " + path + " cannot be read: " + std::strerror(errno);
            return false;
        }
        // The lines go straight into the shared store; the file is only read.
        CurlEasy loader(curl_easy_init());
        if (!loader || !cookies ||
            curl_easy_setopt(loader.get(), CURLOPT_SHARE, cookies.get()) != CURLE_OK) {
            why = "the cookie store could not be set up";
            return false;
        }
        std::string line;
        while (std::getline(file, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            const bool comment = line.rfind('#', 0) == 0 && line.rfind("#HttpOnly_", 0) != 0;
            if (line.empty() || comment)
                continue;
            curl_easy_setopt(loader.get(), CURLOPT_COOKIELIST, line.c_str());
        }
        if (file.bad()) {
            why = "the cookies file " + path + " cannot be read: " + std::strerror(errno);
            return false;
        }
        return true;
    }
};

TransferEngine::TransferEngine(TransferOptions options) {
    InitTransfers();
    impl_ = std::make_unique<Impl>(std::move(options));
}

TransferEngine::~TransferEngine() = default;

void TransferEngine::start(std::size_t id, Request request) {
    impl_->start(id, std::move(request));
}

std::size_t TransferEngine::active() const {
    return impl_->busy + impl_->unreported.size();
}

std::vector<FinishedTransfer> TransferEngine::step(std::chrono::milliseconds wait) {
    return impl_->step(wait);
}

void TransferEngine::abortAll() {
    impl_->abortAll();
}

std::uint64_t TransferEngine::received(std::size_t id) const {
    const Slot* slot = impl_->find(id);
    return slot ? slot->received : 0;
}

TransferResult TransferEngine::Fetch(Request request, const TransferProgress& progress) {
    return impl_->fetch(std::move(request), progress);
}

void TransferEngine::abort() {
    impl_->abortRequested = true;
}

bool TransferEngine::loadCookies(const std::string& path, std::string& why) {
    return impl_->loadCookies(path, why);
}

void InitTransfers() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace gw::platform
