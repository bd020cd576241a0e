#include "cli/ListCommand.h"

#include <chrono>
#include <ostream>

#include "cli/FoundFiles.h"
#include "cli/Stop.h"
#include "cli/TerminalText.h"
#include "platform/CurlSetup.h"
#include "transfer/DownloadRun.h"

namespace gw::cli {
namespace {

// The found files as another program takes them: the names a download would give them, the
// Referer it would send, and what the page's lists say of their bytes.
std::vector<transfer::ListedFile> Described(platform::TransferEngine& engine,
                                            const FoundFiles& found, std::ostream& err) {
    transfer::RunOptions run;
    run.referrerPage = found.pageAddress;
    run.checksumLists = found.checksumLists;
    transfer::RunEvents events;
    events.request = [] {
        return CurrentStop() == StopReason::None ? transfer::RunRequest::Continue
                                                 : transfer::RunRequest::AbortNow;
    };
    events.checksumNote = [&err](const transfer::ChecksumNote& note) {
        err << "grabwright-cli: " << transfer::ChecksumNoteText(note, [](const std::string& text) {
            return EscapeForLine(text);
        }) << '\n';
    };
    return transfer::FilesToHandOn(engine, found.addresses, run, events);
}

}  // namespace

int RunList(platform::TransferEngine& engine, const Options& options, std::ostream& out,
            std::ostream& err, bool errIsTerminal, const PageRendering& rendering) {
    const FoundFiles found =
        FindFiles(engine, options.address, SearchOf(options), err, errIsTerminal, rendering);
    if (found.exitCode != 0)
        return found.exitCode;
    if (options.format == transfer::FileListFormat::Plain) {
        for (const std::string& entry : found.addresses)
            out << EscapeForLine(entry) << '\n';
    } else {
        const std::vector<transfer::ListedFile> files = Described(engine, found, err);
        if (const int stopped = ExitStatusForStop(err); stopped >= 0)
            return stopped;
        out << transfer::WriteFileList(options.format, files, platform::kUserAgent,
                                       std::chrono::system_clock::now(),
                                       [&err](const std::string& address) {
                                           err << "grabwright-cli: " << EscapeForLine(address)
                                               << " is left out: its name cannot be saved\n";
                                       });
    }
    out.flush();
    if (!out) {
        // A reader that has seen enough (`| head`) is no failure worth a message.
        if (CurrentStop() == StopReason::OutputClosed)
            return kOutputClosedStatus;
        err << "grabwright-cli: the list could not be written to standard output\n";
        return 1;
    }
    return 0;
}

}  // namespace gw::cli
