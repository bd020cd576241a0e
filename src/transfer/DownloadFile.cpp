#include "transfer/DownloadFile.h"

#include <algorithm>

#include "platform/Dialup.h"
#include "transfer/FileName.h"
#include "transfer/PartFile.h"
#include "transfer/RetryPolicy.h"

namespace gw::transfer {
namespace {

// How often the pause between tries hands control back, so the window keeps repainting.
constexpr std::chrono::milliseconds kWaitStep{20};

enum class Waited { Done, Stopped, Aborted };

Waited WaitBeforeRetry(std::chrono::milliseconds pause, const DownloadHooks& hooks) {
    platform::Clock& clock = platform::clock();
    const auto until = clock.now() + pause;
    for (;;) {
        if (hooks.progress && !hooks.progress(0, 0))
            return Waited::Aborted;
        if (hooks.stopRetrying && hooks.stopRetrying())
            return Waited::Stopped;
        const auto now = clock.now();
        if (now >= until)
            return Waited::Done;
        clock.sleepFor(std::min(kWaitStep, std::chrono::duration_cast<std::chrono::milliseconds>(
                                               until - now + std::chrono::milliseconds(1))));
    }
}

DownloadResult Result(FileOutcome outcome, std::string error = {}) {
    return {outcome, std::move(error)};
}

DownloadResult FetchFailed(const std::string& folder, const std::string& name,
                           const DownloadHooks& hooks, std::string error) {
    if (hooks.emptyFileAfterFailedFetch)
        CreateEmptyIfAbsent(folder, name);
    return Result(FileOutcome::FetchFailed, std::move(error));
}

}  // namespace

DownloadResult DownloadFile(platform::UrlTransfer& transfer, const std::string& address,
                            const std::string& folder, const DownloadHooks& hooks) {
    const std::string name = FileNameFromAddress(address);
    std::string fetchError;
    {
        PartFile part(folder, name);
        if (!part.open())
            return Result(FileOutcome::WriteFailed, part.error());
        for (int attempt = 1;; ++attempt) {
            if (attempt > 1 && !part.restart())
                return Result(FileOutcome::WriteFailed, part.error());
            bool aborted = false;
            bool writeFailed = false;
            platform::Request request;
            request.progress = [&](std::uint64_t received, std::uint64_t total) {
                aborted = hooks.progress && !hooks.progress(received, total);
                return !aborted;
            };
            const platform::BodySink sink = [&](const char* data, std::size_t size) {
                writeFailed = !part.write(data, size);
                return !writeFailed;
            };
            const platform::TransferResult result = transfer.Fetch(address, sink, request);
            if (aborted || result.cancelled)
                return Result(FileOutcome::Aborted, "the download was aborted");
            if (writeFailed)
                return Result(FileOutcome::WriteFailed, part.error());
            if (result.ok) {
                if (!part.commit())
                    return Result(FileOutcome::WriteFailed, part.error());
                return Result(FileOutcome::Written);
            }
            fetchError = result.error;
            const auto pause = PauseBeforeTry(attempt + 1, result.transient, RetryAfter(result));
            if (!pause)
                break;
            const Waited waited = WaitBeforeRetry(*pause, hooks);
            if (waited == Waited::Aborted)
                return Result(FileOutcome::Aborted, "the download was aborted");
            if (waited == Waited::Stopped)
                break;
        }
    }  // the part file is gone before an empty file may take the name
    return FetchFailed(folder, name, hooks, fetchError);
}

}  // namespace gw::transfer
