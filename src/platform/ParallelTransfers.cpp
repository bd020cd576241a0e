#include "platform/ParallelTransfers.h"

#include <curl/curl.h>

#include <exception>

#include "platform/CurlHandle.h"
#include "platform/CurlSetup.h"
#include "platform/FinishedTransfer.h"

namespace gw::platform {
namespace {

struct Slot {
    CurlEasy easy;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    BodySink sink;
    std::size_t id = 0;
    bool busy = false;
    bool sinkRefused = false;
    std::string callbackError;

    static std::size_t onWrite(char* data, std::size_t, std::size_t size, void* self) {
        auto& slot = *static_cast<Slot*>(self);
        try {
            if (slot.sink(data, size))
                return size;
            slot.sinkRefused = true;
        } catch (const std::exception& error) {
            slot.callbackError = error.what();
        } catch (...) {
            slot.callbackError = "unknown error";
        }
        return 0;
    }
};

}  // namespace

struct ParallelTransfers::Impl {
    std::size_t width;
    TransferOptions options;
    CurlMulti multi{curl_multi_init()};
    std::vector<std::unique_ptr<Slot>> slots;
    std::size_t busy = 0;
    std::vector<FinishedTransfer> unstarted;

    Impl(std::size_t parallel, TransferOptions transferOptions)
        : width(parallel == 0 ? 1 : parallel), options(std::move(transferOptions)) {
        if (multi)
            curl_multi_setopt(multi.get(), CURLMOPT_PIPELINING, CURLPIPE_MULTIPLEX);
    }

    ~Impl() { abortAll(); }

    Slot* freeSlot() {
        for (auto& slot : slots) {
            if (!slot->busy)
                return slot.get();
        }
        if (slots.size() >= width)
            return nullptr;
        auto slot = std::make_unique<Slot>();
        slot->easy.reset(curl_easy_init());
        if (!slot->easy)
            return nullptr;
        CURL* easy = slot->easy.get();
        const bool ok = ConfigureEasy(easy, options, slot->errorBuffer) &&
                        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Slot::onWrite) == CURLE_OK &&
                        curl_easy_setopt(easy, CURLOPT_WRITEDATA, slot.get()) == CURLE_OK &&
                        curl_easy_setopt(easy, CURLOPT_PRIVATE, slot.get()) == CURLE_OK &&
                        // The caller reports progress from its own loop.
                        curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 1L) == CURLE_OK &&
                        // A new transfer waits for a connection that can carry one more HTTP/2
                        // stream rather than opening a connection of its own.
                        curl_easy_setopt(easy, CURLOPT_PIPEWAIT, 1L) == CURLE_OK &&
                        // Downloads stay byte for byte what the server holds.
                        curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, nullptr) == CURLE_OK;
        if (!ok)
            return nullptr;
        slots.push_back(std::move(slot));
        return slots.back().get();
    }

    void refuse(std::size_t id, std::string why) {
        FinishedTransfer finished;
        finished.id = id;
        finished.result.error = std::move(why);
        unstarted.push_back(std::move(finished));
    }

    void start(std::size_t id, const std::string& address, BodySink sink) {
        Slot* slot = multi ? freeSlot() : nullptr;
        if (slot == nullptr)
            return refuse(id, "the transfer component could not be set up");
        slot->sink = std::move(sink);
        slot->id = id;
        slot->sinkRefused = false;
        slot->callbackError.clear();
        slot->errorBuffer[0] = '\0';
        if (curl_easy_setopt(slot->easy.get(), CURLOPT_URL, address.c_str()) != CURLE_OK ||
            curl_multi_add_handle(multi.get(), slot->easy.get()) != CURLM_OK)
            return refuse(id, "the address could not be used");
        slot->busy = true;
        ++busy;
    }

    FinishedTransfer describe(Slot& slot, CURLcode code) {
        FinishedTransfer finished;
        finished.id = slot.id;
        finished.result = ReadFinished(slot.easy.get(), code, slot.errorBuffer);
        if (!slot.callbackError.empty())
            FailWith(finished.result, "the transfer stopped: " + slot.callbackError);
        else if (slot.sinkRefused)
            FailWith(finished.result, "the body could not be stored");
        return finished;
    }

    void release(Slot& slot) {
        curl_multi_remove_handle(multi.get(), slot.easy.get());
        slot.busy = false;
        slot.sink = nullptr;
        --busy;
    }

    std::vector<FinishedTransfer> step(std::chrono::milliseconds wait) {
        std::vector<FinishedTransfer> finished;
        finished.swap(unstarted);
        if (busy == 0)
            return finished;
        int running = 0;
        if (finished.empty())
            curl_multi_poll(multi.get(), nullptr, 0, static_cast<int>(wait.count()), nullptr);
        curl_multi_perform(multi.get(), &running);
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi.get(), &queued)) {
            if (message->msg != CURLMSG_DONE)
                continue;
            void* data = nullptr;
            curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &data);
            auto& slot = *static_cast<Slot*>(data);
            finished.push_back(describe(slot, message->data.result));
            release(slot);
        }
        return finished;
    }

    void abortAll() {
        for (auto& slot : slots) {
            if (slot->busy)
                release(*slot);
        }
        unstarted.clear();
    }
};

ParallelTransfers::ParallelTransfers(std::size_t width, TransferOptions options) {
    InitTransfers();
    impl_ = std::make_unique<Impl>(width, std::move(options));
}

ParallelTransfers::~ParallelTransfers() = default;

std::size_t ParallelTransfers::running() const {
    return impl_->busy;
}

bool ParallelTransfers::hasRoom() const {
    return impl_->busy < impl_->width;
}

void ParallelTransfers::start(std::size_t id, const std::string& address, BodySink sink) {
    impl_->start(id, address, std::move(sink));
}

std::vector<FinishedTransfer> ParallelTransfers::step(std::chrono::milliseconds wait) {
    return impl_->step(wait);
}

void ParallelTransfers::abortAll() {
    impl_->abortAll();
}

}  // namespace gw::platform
