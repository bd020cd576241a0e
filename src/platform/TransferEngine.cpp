#include "platform/TransferEngine.h"

#include <curl/curl.h>

#include <algorithm>
#include <exception>
#include <mutex>
#include <optional>

#include "platform/CookieFile.h"
#include "platform/CurlAnswer.h"
#include "platform/CurlHandle.h"
#include "platform/CurlSetup.h"
#include "platform/TransferSlot.h"

namespace gw::platform {
namespace {

// How long one wait for socket activity may last in a blocking fetch, so that its progress
// callback keeps coming while a server is silent (libcurl's own loop waits up to a second).
constexpr std::chrono::milliseconds kTurn{10};
constexpr int kMaxRedirects = 10;
constexpr std::size_t kBlockingId = static_cast<std::size_t>(-1);

TransferResult Failed(FailureKind kind, std::string error) {
    TransferResult result;
    result.failure = kind;
    result.error = std::move(error);
    return result;
}

}  // namespace

struct TransferEngine::Impl {
    TransferOptions options;
    CurlMulti multi{curl_multi_init()};
    CurlShare cookies{curl_share_init()};
    std::shared_ptr<ReceiveGate> gate;
    std::vector<std::unique_ptr<TransferSlot>> slots;
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

    // Gives the slot a handle with every setting transfers share; false when libcurl refused
    // one, and such a handle must not be used: a refused scheme restriction would let an
    // address reach local files.
    bool equip(TransferSlot& slot) {
        slot.easy.reset(curl_easy_init());
        if (!slot.easy || !cookies)
            return false;
        CURL* easy = slot.easy.get();
        slot.readBytes = readBytes();
        const bool ok =
            ConfigureEasy(easy, options, slot.readBytes, slot.errorBuffer) &&
            curl_easy_setopt(easy, CURLOPT_SHARE, cookies.get()) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &TransferSlot::onWrite) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_WRITEDATA, &slot) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_PRIVATE, &slot) == CURLE_OK;
        if (!ok)
            slot.easy.reset();
        return ok;
    }

    std::size_t readBytes() const { return gate ? gate->readBytes() : 0; }

    TransferSlot* freeSlot() {
        for (auto& slot : slots) {
            if (slot->busy)
                continue;
            const bool fit = slot->easy && slot->readBytes == readBytes();
            return fit || equip(*slot) ? slot.get() : nullptr;
        }
        auto slot = std::make_unique<TransferSlot>();
        if (!equip(*slot))
            return nullptr;
        slots.push_back(std::move(slot));
        return slots.back().get();
    }

    void refuse(std::size_t id, FailureKind kind, std::string why) {
        unreported.push_back({id, Failed(kind, std::move(why))});
    }

    void start(std::size_t id, Request request) {
        TransferSlot* slot = multi ? freeSlot() : nullptr;
        if (slot == nullptr)
            return refuse(id, FailureKind::Other, "the transfer component could not be set up");
        slot->request = std::move(request);
        slot->id = id;
        if (!slot->prepare(gate.get()))
            return refuse(id, FailureKind::Other, "the address could not be used");
        if (curl_multi_add_handle(multi.get(), slot->easy.get()) != CURLM_OK)
            return refuse(id, FailureKind::Other, "the transfer could not be started");
        slot->busy = true;
        ++busy;
    }

    void release(TransferSlot& slot) {
        curl_multi_remove_handle(multi.get(), slot.easy.get());
        if (slot.gate != nullptr)
            slot.gate->leave(slot.id);
        // A handle taken out while paused may keep its pause into the next transfer: the next
        // one gets a fresh handle instead.
        if (slot.held)
            slot.easy.reset();
        slot.held = false;
        slot.busy = false;
        slot.request = {};
        --busy;
    }

    // Follows a redirect with the same handle; false when the transfer ends here instead.
    bool follow(TransferSlot& slot) {
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

    TransferResult describe(TransferSlot& slot, CURLcode code) {
        TransferResult result;
        CURL* easy = slot.easy.get();
        const char* effective = nullptr;
        if (curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective)
            result.finalAddress = effective;
        result.redirected = slot.hops > 0;
        result.head = slot.headSeen ? slot.head : ReadHead(easy);
        result.retryAfter = HeaderValue(easy, "Retry-After");
        result.bytes = slot.received;
        if (slot.stop != FailureKind::None) {
            result.failure = slot.stop;
            result.error = slot.stopWhy;
        } else if (code != CURLE_OK) {
            result.failure = FailureOf(code);
            result.error =
                slot.errorBuffer[0] != '\0' ? slot.errorBuffer : curl_easy_strerror(code);
            if (const long status = result.head.httpStatus; status >= 400)
                result.error = "HTTP status " + std::to_string(status) + ": " + result.error;
        } else {
            result.ok = true;
        }
        return result;
    }

    void complete(TransferSlot& slot, CURLcode code, std::vector<FinishedTransfer>& finished) {
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

    // Resumes the held transfers the gate lets go; libcurl hands each its kept bytes again
    // before it returns.
    void resumeHeld(std::vector<FinishedTransfer>& finished) {
        if (!gate)
            return;
        while (const std::optional<std::size_t> id = gate->release()) {
            TransferSlot* slot = findBusy(*id);
            if (slot == nullptr || !slot->held)
                continue;
            slot->held = false;
            const CURLcode resumed = curl_easy_pause(slot->easy.get(), CURLPAUSE_CONT);
            if (resumed != CURLE_OK) {
                slot->held = true;  // its handle is fit for no further transfer
                finished.push_back({slot->id, describe(*slot, resumed)});
                release(*slot);
            }
        }
    }

    // A held transfer is not woken by its connection: the wait ends when the gate opens.
    std::chrono::milliseconds pollWait(std::chrono::milliseconds wait) {
        if (!gate)
            return wait;
        const std::optional<std::chrono::milliseconds> opens = gate->untilRelease();
        return opens ? std::min(wait, *opens) : wait;
    }

    std::vector<FinishedTransfer> step(std::chrono::milliseconds wait) {
        std::vector<FinishedTransfer> finished;
        finished.swap(unreported);
        if (busy == 0)
            return finished;
        resumeHeld(finished);
        if (finished.empty()) {
            const CURLMcode polled = curl_multi_poll(
                multi.get(), nullptr, 0, static_cast<int>(pollWait(wait).count()), nullptr);
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
            complete(*static_cast<TransferSlot*>(data), message->data.result, finished);
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

    void stop(std::size_t id) {
        for (auto& slot : slots) {
            if (slot->busy && slot->id == id)
                release(*slot);
        }
        std::erase_if(unreported, [id](const FinishedTransfer& done) { return done.id == id; });
    }

    TransferSlot* findBusy(std::size_t id) const {
        for (const auto& slot : slots) {
            if (slot->busy && slot->id == id)
                return slot.get();
        }
        return nullptr;
    }

    std::uint64_t expected(std::size_t id) const {
        const TransferSlot* slot = findBusy(id);
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
            const TransferSlot* slot = findBusy(kBlockingId);
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
};

TransferEngine::TransferEngine(TransferOptions options) {
    InitTransfers();
    impl_ = std::make_unique<Impl>(std::move(options));
}

TransferEngine::~TransferEngine() = default;

void TransferEngine::start(std::size_t id, Request request) {
    impl_->start(id, std::move(request));
}

std::vector<FinishedTransfer> TransferEngine::step(std::chrono::milliseconds wait) {
    return impl_->step(wait);
}

void TransferEngine::abortAll() {
    impl_->abortAll();
}

void TransferEngine::stop(std::size_t id) {
    impl_->stop(id);
}

std::uint64_t TransferEngine::received(std::size_t id) const {
    const TransferSlot* slot = impl_->findBusy(id);
    return slot ? slot->received : 0;
}

TransferResult TransferEngine::Fetch(Request request, const TransferProgress& progress) {
    return impl_->fetch(std::move(request), progress);
}

bool TransferEngine::setReceiveGate(std::shared_ptr<ReceiveGate> gate) {
    if (impl_->busy > 0 || impl_->fetching)
        return false;
    impl_->gate = std::move(gate);
    return true;
}

void TransferEngine::abort() {
    impl_->abortRequested = true;
}

bool TransferEngine::loadCookies(const std::string& path, std::string& why,
                                 const std::function<bool()>& stopped) {
    return LoadCookieFile(impl_->cookies.get(), path, why, stopped);
}

bool TransferEngine::takeCookies(const std::string& text, std::string& why) {
    return LoadCookieText(impl_->cookies.get(), text, why);
}

void InitTransfers() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace gw::platform
