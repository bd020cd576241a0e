#include "cli/FoundFiles.h"

#include <optional>
#include <ostream>

#include "cli/ProgressLines.h"
#include "cli/Stop.h"
#include "cli/TerminalText.h"
#include "harvest/Messages.h"
#include "harvest/PageHarvest.h"
#include "platform/PieceThread.h"
#include "retrieval/Messages.h"

namespace gw::cli {

FoundFiles FoundNothing(int exitCode) {
    FoundFiles found;
    found.exitCode = exitCode;
    return found;
}

int ExitStatusForStop(std::ostream& err) {
    switch (CurrentStop()) {
        case StopReason::None:
            return -1;
        case StopReason::Interrupt:
            err << "grabwright-cli: interrupted\n";
            return 130;
        case StopReason::Terminate:
            err << "grabwright-cli: terminated\n";
            return 143;
        case StopReason::HangUp:
            err << "grabwright-cli: hung up\n";
            return 129;
        case StopReason::OutputClosed:
            return kOutputClosedStatus;
        case StopReason::TimeUp:
            err << "grabwright-cli: the time limit (--max-time) was reached\n";
            return 1;
    }
    return 1;
}

FoundFiles FindFiles(platform::TransferEngine& engine, const std::string& address,
                     const harvest::HarvestOptions& search, std::ostream& err, bool errIsTerminal,
                     const PageRendering& rendering) {
    for (const auto* patterns : {&search.patterns, &search.excludes}) {
        for (const std::string& pattern : *patterns) {
            if (!harvest::PatternIsValid(pattern)) {
                err << harvest::kInvalidPatternMessage << '\n';
                return FoundNothing(2);
            }
        }
    }
    if (!rendering.helper.empty())
        return FindRenderedFiles(engine, address, search, rendering, err);
    // Each piece of the page is harvested as it arrives and then let go: no page file, and
    // memory that does not grow with the page, so a page has no size cap here (--max-time
    // bounds one that never ends). Links resolve against the address the answer came from,
    // which its head tells before the first piece. The harvest runs on a thread of its own,
    // so that receiving and harvesting the page take about as long as the slower of the two.
    std::optional<harvest::PageHarvest> harvest;
    // Declared after `harvest`, so that its thread ends before the harvest goes.
    std::optional<platform::PieceThread> harvesting;
    std::string pageAddress;
    platform::Request request;
    request.address = address;
    // A server may send the page compressed, asked or not; the page is the decoded one.
    request.acceptCompressed = true;
    request.checkHead = [&](const platform::ResponseHead& head) {
        pageAddress = head.address;
        harvest.emplace(search, pageAddress);
        harvesting.emplace([&](std::string_view bytes) { harvest->AddBytes(bytes); });
        return std::string();
    };
    request.sink = [&](const char* data, std::size_t size) {
        harvesting->add(data, size);
        return true;
    };
    ProgressLines lines(err, errIsTerminal);
    // Any signal ends the page fetch: there is no file in progress to finish.
    const platform::TransferResult result =
        engine.Fetch(std::move(request), [&](std::uint64_t received, std::uint64_t) {
            lines.page(address, received);
            return CurrentStop() == StopReason::None;
        });
    lines.clear();
    if (const int stopped = ExitStatusForStop(err); stopped >= 0)
        return FoundNothing(stopped);
    if (!result.ok) {
        err << retrieval::kFetchFailedMessage << "\ngrabwright-cli: " << EscapeForLine(result.error)
            << '\n';
        return FoundNothing(1);
    }
    if (result.bytes == 0) {
        err << retrieval::kEmptyPageMessage << '\n';
        return FoundNothing(1);
    }

    harvesting->drain();
    if (!harvesting->failure().empty()) {
        err << "grabwright-cli: the page could not be searched: "
            << EscapeForLine(harvesting->failure()) << '\n';
        return FoundNothing(1);
    }
    return ReportFound(harvest->Finish(), std::move(pageAddress), err);
}

FoundFiles ReportFound(harvest::Harvest found, std::string pageAddress, std::ostream& err) {
    if (found.matched == 0) {
        err << harvest::kNothingFoundMessage << '\n';
        return FoundNothing(1);
    }
    if (found.addresses.empty()) {
        err << harvest::kNothingFoundMessage
            << "\ngrabwright-cli: every matching address was a bare site address ending in "
               "\".com\", which is left out\n";
        return FoundNothing(1);
    }
    if (found.dropped > 0) {
        err << "grabwright-cli: " << found.dropped << " further matching addresses were left out: "
            << "the list holds at most " << harvest::kFoundCapacity << ".\n";
    }
    return {0, std::move(found.addresses), std::move(pageAddress), std::move(found.checksumLists)};
}

}  // namespace gw::cli
