#include "cli/FoundFiles.h"

#include <ostream>

#include "cli/Stop.h"
#include "cli/TerminalText.h"
#include "harvest/Harvest.h"
#include "harvest/Messages.h"
#include "retrieval/Messages.h"
#include "retrieval/PageFetch.h"
#include "retrieval/TempFolder.h"

namespace gw::cli {
namespace {

FoundFiles Failed(int exitCode) {
    FoundFiles found;
    found.exitCode = exitCode;
    return found;
}

}  // namespace

int ExitStatusForStop(std::ostream& err) {
    switch (CurrentStop()) {
        case StopReason::None:
            return -1;
        case StopReason::Interrupt:
        case StopReason::Abort:
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
                     const std::string& fileSpec, std::ostream& err) {
    const std::string pattern = harvest::BuildMatchPattern(fileSpec);
    if (!harvest::PatternIsValid(pattern)) {
        err << harvest::kInvalidPatternMessage << '\n';
        return Failed(2);
    }
    retrieval::FetchedPage page;
    {
        retrieval::RunTempFile temp;
        if (temp.path().empty()) {
            err << retrieval::kFetchFailedMessage
                << "\ngrabwright-cli: " << EscapeForLine(temp.error()) << '\n';
            return Failed(1);
        }
        // Any signal ends the page fetch: there is no file in progress to finish.
        page = retrieval::FetchPage(engine, address, temp.path(), [](std::uint64_t, std::uint64_t) {
            return CurrentStop() == StopReason::None;
        });
    }
    if (const int stopped = ExitStatusForStop(err); stopped >= 0)
        return Failed(stopped);
    if (page.outcome == retrieval::FetchOutcome::Empty) {
        err << retrieval::kEmptyPageMessage << '\n';
        return Failed(1);
    }
    if (page.outcome == retrieval::FetchOutcome::Failed) {
        err << retrieval::kFetchFailedMessage << "\ngrabwright-cli: " << EscapeForLine(page.error)
            << '\n';
        return Failed(1);
    }

    harvest::Harvest found = harvest::HarvestPage(page.text, page.fetchedAddress, pattern);
    if (found.matched == 0) {
        err << harvest::kNothingFoundMessage << '\n';
        return Failed(1);
    }
    if (found.addresses.empty()) {
        err << harvest::kNothingFoundMessage
            << "\ngrabwright-cli: every matching address was a bare site address ending in "
               "\".com\", which is left out\n";
        return Failed(1);
    }
    if (found.dropped > 0) {
        err << "grabwright-cli: " << found.dropped << " further matching addresses were left out: "
            << "the list holds at most " << harvest::kFoundCapacity << ".\n";
    }
    return {0, std::move(found.addresses), std::move(page.fetchedAddress),
            std::move(found.checksumLists)};
}

}  // namespace gw::cli
