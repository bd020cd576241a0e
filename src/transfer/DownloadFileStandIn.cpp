// Stands in for the download of one file until the real one joins the build.
#include <fstream>

#include "transfer/DownloadFile.h"
#include "transfer/FileName.h"

namespace gw::transfer {

DownloadResult DownloadFile(platform::UrlTransfer& transfer, const std::string& address,
                            const std::string& folder, const DownloadHooks& hooks) {
    const std::string name = FileNameFromAddress(address);
    if (name.empty() || name == "." || name == ".." || name.find('\0') != std::string::npos)
        return {FileOutcome::WriteFailed, "bad name"};
    std::ofstream out(folder + name, std::ios::binary | std::ios::trunc);
    if (!out)
        return {FileOutcome::WriteFailed, "cannot open"};
    bool aborted = false;
    platform::Request request;
    request.progress = [&](std::uint64_t received, std::uint64_t total) {
        aborted = hooks.progress && !hooks.progress(received, total);
        return !aborted;
    };
    const platform::TransferResult result = transfer.Fetch(
        address,
        [&](const char* data, std::size_t size) {
            return static_cast<bool>(out.write(data, static_cast<std::streamsize>(size)));
        },
        request);
    if (aborted)
        return {FileOutcome::Aborted, "aborted"};
    if (!result.ok)
        return {FileOutcome::FetchFailed, result.error};
    out.close();
    if (!out)
        return {FileOutcome::WriteFailed, "cannot write"};
    return {FileOutcome::Written, ""};
}

}  // namespace gw::transfer
