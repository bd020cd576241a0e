#include "retrieval/PageFetch.h"

#include <cstring>

#include "platform/ScratchFile.h"

namespace gw::retrieval {
namespace {

FetchedPage failed(std::string why) {
    FetchedPage page;
    page.error = std::move(why);
    return page;
}

FetchedPage readPage(platform::ScratchFile& file, const std::string& tempFile) {
    FetchedPage page;
    if (file.size() == 0) {
        page.outcome = FetchOutcome::Empty;
        return page;
    }
    if (!file.readBack(page.bytes))
        return failed("cannot read " + tempFile + ": " + std::strerror(file.error()));
    file.remove();
    page.outcome = FetchOutcome::Fetched;
    return page;
}

}  // namespace

std::string PageAddressFor(const std::string& typed) {
    if (!typed.empty() && typed.back() == '/')
        return typed;
    return typed + "/";
}

FetchedPage FetchPage(platform::TransferEngine& transfer, const std::string& requestAddress,
                      const std::string& tempFile, const platform::TransferProgress& progress) {
    platform::ScratchFile file(tempFile);
    if (!file.open())
        return failed("cannot write " + tempFile + ": " + std::strerror(file.error()));

    platform::Request request;
    request.address = requestAddress;
    request.maxBodyBytes = kMaxPageBytes;
    // A server may send the page compressed, asked or not; the page is the decoded one.
    request.acceptCompressed = true;
    request.sink = [&](const char* data, std::size_t length) { return file.write(data, length); };
    const platform::TransferResult result = transfer.Fetch(std::move(request), progress);

    FetchedPage page;
    if (file.error() != 0)
        page = failed("cannot write " + tempFile + ": " + std::strerror(file.error()));
    else if (!result.ok)
        page = failed(result.error);
    else
        page = readPage(file, tempFile);
    // As typed, unless a redirect moved the page elsewhere.
    if (page.outcome != FetchOutcome::Failed)
        page.fetchedAddress = result.redirected && !result.finalAddress.empty()
                                  ? result.finalAddress
                                  : requestAddress;
    return page;
}

}  // namespace gw::retrieval
