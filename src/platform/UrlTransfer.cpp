#include "platform/UrlTransfer.h"

#include <curl/curl.h>

#include <atomic>
#include <exception>
#include <mutex>

#include "platform/CurlHandle.h"
#include "platform/CurlSetup.h"
#include "platform/FinishedTransfer.h"

namespace gw::platform {
namespace {

// How long one wait for socket activity may last, so that the progress callback keeps
// coming while a server is silent (libcurl's own loop would wait up to a second).
constexpr int kPollMilliseconds = 10;

TransferResult Failure(std::string error) {
    TransferResult result;
    result.error = std::move(error);
    return result;
}

}  // namespace

struct UrlTransfer::Impl {
    TransferOptions options;
    CurlMulti multi;  // holds the connection cache, so it outlives every transfer
    CurlEasy easy;
    bool configured = false;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    const Request* request = nullptr;
    std::atomic<bool> abortRequested{false};
    bool busy = false;

    // The transfer in progress.
    const BodySink* sink = nullptr;
    std::string* memory = nullptr;
    std::uint64_t received = 0;  // body bytes delivered
    std::uint64_t now = 0;       // libcurl's count for the current response
    std::uint64_t total = 0;
    bool tooLarge = false;
    bool sinkRefused = false;
    bool cancelled = false;
    std::string callbackError;  // what a sink or progress callback threw

    explicit Impl(TransferOptions transferOptions) : options(std::move(transferOptions)) {
        multi.reset(curl_multi_init());
        easy.reset(curl_easy_init());
        if (!multi || !easy)
            return;
        configured =
            ConfigureEasy(easy.get(), options, errorBuffer) &&
            curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, &Impl::onWrite) == CURLE_OK &&
            curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, this) == CURLE_OK &&
            curl_easy_setopt(easy.get(), CURLOPT_XFERINFOFUNCTION, &Impl::onProgress) == CURLE_OK &&
            curl_easy_setopt(easy.get(), CURLOPT_XFERINFODATA, this) == CURLE_OK;
    }

    // Exceptions must not unwind through libcurl's C frames; they end the transfer instead.
    static std::size_t onWrite(char* data, std::size_t, std::size_t size, void* self) {
        auto& impl = *static_cast<Impl*>(self);
        try {
            return impl.write(data, size) ? size : 0;
        } catch (const std::exception& error) {
            impl.callbackError = error.what();
        } catch (...) {
            impl.callbackError = "unknown error";
        }
        return 0;
    }

    static int onProgress(void* self, curl_off_t downloadTotal, curl_off_t downloadNow, curl_off_t,
                          curl_off_t) {
        auto& impl = *static_cast<Impl*>(self);
        impl.total = static_cast<std::uint64_t>(downloadTotal);
        impl.now = static_cast<std::uint64_t>(downloadNow);
        return impl.stopped() ? 1 : 0;
    }

    bool write(const char* data, std::size_t size) {
        if (abortRequested)
            return false;
        if (request->maxBodyBytes != 0 && size > request->maxBodyBytes - received) {
            tooLarge = true;
            return false;
        }
        if (memory != nullptr) {
            if (received == 0)
                reserveDeclaredLength();
            memory->append(data, size);
        } else if (!(*sink)(data, size)) {
            sinkRefused = true;
            return false;
        }
        received += size;
        return true;
    }

    // One allocation instead of a chain of doublings keeps the peak near the page's size.
    void reserveDeclaredLength() {
        curl_off_t length = -1;
        if (curl_easy_getinfo(easy.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) ==
                CURLE_OK &&
            length > 0 &&
            (request->maxBodyBytes == 0 ||
             static_cast<std::uint64_t>(length) <= request->maxBodyBytes))
            memory->reserve(static_cast<std::size_t>(length));
    }

    bool stopped() const { return abortRequested || cancelled || !callbackError.empty(); }

    // Calls the caller's progress callback; how often it lets a window repaint is the
    // caller's to decide. False stops the transfer.
    bool keepGoing() {
        if (stopped())
            return false;
        const TransferProgress& progress = request->progress;
        if (!progress)
            return true;
        try {
            if (!progress(now, total))
                cancelled = true;
        } catch (const std::exception& error) {
            callbackError = error.what();
        } catch (...) {
            callbackError = "unknown error";
        }
        return !stopped();
    }

    // The settings that differ from one call to the next; false when libcurl refuses one.
    bool applyRequest(const Request& call) {
        // NULL turns decoding off, so a download is never altered on the way to disk.
        return curl_easy_setopt(easy.get(), CURLOPT_ACCEPT_ENCODING,
                                call.acceptCompressed ? "" : nullptr) == CURLE_OK &&
               curl_easy_setopt(easy.get(), CURLOPT_MAXFILESIZE_LARGE,
                                static_cast<curl_off_t>(call.maxBodyBytes)) == CURLE_OK;
    }

    TransferResult run(const std::string& address, std::string* body, const BodySink* bodySink,
                       const Request& call) {
        if (!configured)
            return Failure("the transfer component could not be set up");
        // The progress callback lets the user interface run, which may ask for another one.
        if (busy)
            return Failure("another transfer is in progress");
        if (!applyRequest(call))
            return Failure("the transfer component could not be set up");
        busy = true;
        request = &call;
        memory = body;
        sink = bodySink;
        abortRequested = false;
        received = now = total = 0;
        tooLarge = sinkRefused = cancelled = false;
        callbackError.clear();
        errorBuffer[0] = '\0';

        if (curl_easy_setopt(easy.get(), CURLOPT_URL, address.c_str()) != CURLE_OK ||
            curl_multi_add_handle(multi.get(), easy.get()) != CURLM_OK) {
            busy = false;
            return Failure("the address could not be used");
        }
        const CURLcode code = perform();
        curl_multi_remove_handle(multi.get(), easy.get());
        TransferResult result = describe(code);
        memory = nullptr;
        sink = nullptr;
        request = nullptr;
        busy = false;
        return result;
    }

    // Drives the transfer with short waits so that the progress callback runs even while
    // no data arrives (during name resolution, connecting, or a silent server).
    CURLcode perform() {
        for (;;) {
            int running = 0;
            if (curl_multi_perform(multi.get(), &running) != CURLM_OK)
                return CURLE_FAILED_INIT;
            int queued = 0;
            while (CURLMsg* message = curl_multi_info_read(multi.get(), &queued)) {
                if (message->msg == CURLMSG_DONE)
                    return message->data.result;
            }
            if (running == 0)
                return CURLE_FAILED_INIT;
            if (!keepGoing())
                return CURLE_ABORTED_BY_CALLBACK;
            if (curl_multi_poll(multi.get(), nullptr, 0, kPollMilliseconds, nullptr) != CURLM_OK)
                return CURLE_FAILED_INIT;
        }
    }

    TransferResult describe(CURLcode code) {
        TransferResult result = ReadFinished(easy.get(), code, errorBuffer);
        if (!callbackError.empty()) {
            FailWith(result, "the transfer stopped: " + callbackError);
        } else if (cancelled || abortRequested) {
            FailWith(result, "the transfer was cancelled");
            result.cancelled = true;
        } else if (tooLarge) {
            FailWith(result,
                     "the body is larger than " + std::to_string(request->maxBodyBytes) + " bytes");
        } else if (sinkRefused) {
            FailWith(result, "the body could not be stored");
        }
        return result;
    }
};

UrlTransfer::UrlTransfer(TransferOptions options) {
    InitTransfers();
    impl_ = std::make_unique<Impl>(std::move(options));
}

UrlTransfer::~UrlTransfer() = default;

TransferResult UrlTransfer::FetchToMemory(const std::string& address, std::string& body,
                                          const Request& request) {
    body.clear();
    TransferResult result = impl_->run(address, &body, nullptr, request);
    // Half a page is no page; release it rather than hand it on.
    if (!result.ok)
        std::string().swap(body);
    return result;
}

TransferResult UrlTransfer::Fetch(const std::string& address, const BodySink& sink,
                                  const Request& request) {
    return impl_->run(address, nullptr, &sink, request);
}

void UrlTransfer::abort() {
    impl_->abortRequested = true;
}

void InitTransfers() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace gw::platform
