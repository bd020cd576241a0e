#include "platform/TransferSlot.h"

#include <exception>

#include "platform/CurlAnswer.h"
#include "platform/Referrer.h"

namespace gw::platform {

void TransferSlot::stopWith(FailureKind kind, std::string why) {
    stop = kind;
    stopWhy = std::move(why);
}

bool TransferSlot::takeHead() {
    if (headSeen)
        return stop == FailureKind::None;
    headSeen = true;
    head = ReadHead(easy.get());
    head.address = hopAddress;
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

bool TransferSlot::take(const char* data, std::size_t size) {
    if (!takeHead())
        return false;
    if (redirect) {
        skipped += size;
        return skipped <= kMaxRedirectBody;
    }
    const std::uint64_t cap = request.maxBodyBytes;
    if (cap != 0 && size > cap - received) {
        stopWith(FailureKind::Local, "the body is larger than " + std::to_string(cap) + " bytes");
        return false;
    }
    if (!request.sink(data, size)) {
        stopWith(FailureKind::Local, "the body could not be stored");
        return false;
    }
    received += size;
    return true;
}

std::size_t TransferSlot::onWrite(char* data, std::size_t, std::size_t size, void* self) {
    auto& slot = *static_cast<TransferSlot*>(self);
    try {
        // libcurl keeps the refused bytes and hands them over again once it is resumed.
        if (slot.gate != nullptr && !slot.gate->admit(slot.id, size)) {
            slot.held = true;
            return CURL_WRITEFUNC_PAUSE;
        }
        return slot.take(data, size) ? size : 0;
    } catch (const std::exception& error) {
        slot.stopWith(FailureKind::Local, std::string("the transfer stopped: ") + error.what());
    } catch (...) {
        slot.stopWith(FailureKind::Local, "the transfer stopped: unknown error");
    }
    return 0;
}

bool TransferSlot::aim(const std::string& address) {
    hopAddress = address;
    headSeen = redirect = false;
    skipped = 0;
    head = {};
    errorBuffer[0] = '\0';
    const std::string referrer = ReferrerFor(request.referrerPage, address);
    return curl_easy_setopt(easy.get(), CURLOPT_URL, address.c_str()) == CURLE_OK &&
           curl_easy_setopt(easy.get(), CURLOPT_REFERER,
                            referrer.empty() ? nullptr : referrer.c_str()) == CURLE_OK;
}

bool TransferSlot::prepare(ReceiveGate* receiveGate) {
    gate = receiveGate;
    held = false;
    hops = 0;
    received = 0;
    stop = FailureKind::None;
    stopWhy.clear();
    headers.reset();
    for (const auto& [name, value] : {std::pair{"If-Range: ", &request.ifRange},
                                      std::pair{"If-None-Match: ", &request.ifNoneMatch},
                                      std::pair{"If-Modified-Since: ", &request.ifModifiedSince}}) {
        if (value->empty())
            continue;
        // The list keeps its head once it has one; a failed append leaves it as it was.
        curl_slist* head = curl_slist_append(headers.get(), (name + *value).c_str());
        if (head == nullptr)
            return false;
        if (head != headers.get())
            headers.reset(head);
    }
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

}  // namespace gw::platform
