#include "transfer/ChecksumFetch.h"

#include <algorithm>
#include <optional>
#include <set>

#include "platform/Dialup.h"
#include "transfer/FileName.h"
#include "transfer/RetryPolicy.h"

namespace gw::transfer {
namespace {

using std::chrono::milliseconds;
constexpr milliseconds kTurn{10};

struct Fetched {
    std::optional<std::string> text;
    std::string why;  // when there is no text
    bool stopped = false;
};

// A pause between tries that lets the caller's window run.
bool Pause(milliseconds pause, const std::function<bool()>& goOn) {
    platform::Clock& clock = platform::clock();
    const auto until = clock.now() + pause;
    for (auto now = clock.now(); now < until; now = clock.now()) {
        if (!goOn())
            return false;
        clock.sleepFor(std::min(kTurn, std::chrono::ceil<milliseconds>(until - now)));
    }
    return true;
}

Fetched FetchList(platform::TransferEngine& engine, const std::string& address,
                  const std::string& referrerPage, const std::function<bool()>& goOn) {
    for (int tries = 1;; ++tries) {
        std::string text;
        platform::Request request;
        request.address = address;
        request.referrerPage = referrerPage;
        request.maxBodyBytes = kMaxChecksumListBytes;
        request.sink = [&text](const char* data, std::size_t size) {
            text.append(data, size);
            return true;
        };
        // Only a whole body is the list: a piece of one would fail files that are fine.
        request.checkHead = [](const platform::ResponseHead& head) {
            const long status = head.httpStatus;
            return status == 0 || (status >= 200 && status <= 203)
                       ? std::string()
                       : "the server answered " + std::to_string(status);
        };
        const platform::TransferResult result =
            engine.Fetch(std::move(request), [&](std::uint64_t, std::uint64_t) { return goOn(); });
        if (result.ok)
            return {std::move(text), {}, false};
        if (result.cancelled())
            return {std::nullopt, result.error, true};
        const auto pause =
            PauseBeforeTry(tries + 1, MayPass(result),
                           ParseRetryAfter(result.retryAfter, std::chrono::system_clock::now()));
        if (!pause)
            return {std::nullopt, result.error, false};
        if (!Pause(*pause, goOn))
            return {std::nullopt, result.error, true};
    }
}

}  // namespace

ChecksumBook FetchChecksumLists(platform::TransferEngine& engine,
                                const std::vector<std::string>& lists,
                                const std::vector<std::string>& fileNames,
                                const std::string& referrerPage, const std::function<bool()>& goOn,
                                const std::function<void(const ChecksumNote&)>& note) {
    const std::set<std::string, std::less<>> files(fileNames.begin(), fileNames.end());
    const auto tell = [&note](ChecksumNote told) {
        if (note)
            note(told);
    };
    ChecksumBook book;
    for (const std::string& address : lists) {
        const std::string name = FileNameFromAddress(address);
        const std::string_view sidecarOf = SidecarFileOf(name);
        if (!sidecarOf.empty() && !files.contains(sidecarOf))
            continue;
        const Fetched fetched = FetchList(engine, address, referrerPage, goOn);
        if (fetched.stopped)
            return {};
        std::vector<ListedHash> hashes;
        if (fetched.text)
            hashes = ReadChecksumList(*fetched.text, name);
        if (hashes.empty()) {
            tell({ChecksumNote::Kind::ListNotRead, name,
                  fetched.text ? "no checksums in it" : fetched.why});
            continue;
        }
        book.add(name, hashes);
    }
    for (const std::string& file : files) {
        if (book.disagree(file))
            tell({ChecksumNote::Kind::ListsDisagree, file, {}});
    }
    return book;
}

}  // namespace gw::transfer
