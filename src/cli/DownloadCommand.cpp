#include "cli/DownloadCommand.h"

#include <sys/stat.h>

#include <ostream>

#include "cli/FoundFiles.h"
#include "cli/ProgressLines.h"
#include "cli/RunSummary.h"
#include "cli/Stop.h"
#include "cli/TerminalText.h"
#include "transfer/DownloadRun.h"
#include "transfer/FileName.h"

namespace gw::cli {
namespace {

transfer::RunRequest RequestFromStop() {
    switch (CurrentStop()) {
        case StopReason::None:
            return transfer::RunRequest::Continue;
        case StopReason::Interrupt:
            return transfer::RunRequest::FinishStarted;
        default:
            return transfer::RunRequest::AbortNow;
    }
}

// The page chose the names: they are escaped like any address.
std::string ChecksumNoteLine(const transfer::ChecksumNote& note) {
    return "grabwright-cli: " + transfer::ChecksumNoteText(note, [](const std::string& text) {
               return EscapeForLine(text);
           });
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

int RunDownloadCommand(platform::TransferEngine& engine, const Options& options, std::ostream& err,
                       bool errIsTerminal, const PageRendering& rendering) {
    if (!IsFolder(options.folder)) {
        err << "grabwright-cli: the folder " << EscapeForLine(options.folder)
            << " does not exist\n";
        return 1;
    }
    std::string folder = options.folder;
    if (folder.back() != '/')
        folder += '/';

    const FoundFiles found =
        FindFiles(engine, options.address, SearchOf(options), err, errIsTerminal, rendering);
    if (found.exitCode != 0)
        return found.exitCode;

    ProgressLines lines(err, errIsTerminal, found.addresses);
    transfer::RunEvents events;
    bool interruptShown = false;
    events.request = [&] {
        const transfer::RunRequest request = RequestFromStop();
        // Says that the Ctrl-C was taken, since the run may go on for a while.
        if (request == transfer::RunRequest::FinishStarted && !interruptShown) {
            lines.put(
                "grabwright-cli: stopping after the files in progress (Ctrl-C again to "
                "stop at once)");
            interruptShown = true;
        }
        return request;
    };
    events.progress = [&](const std::vector<transfer::FileStatus>& files) { lines.update(files); };
    events.finished = [&](std::size_t index, const transfer::FileStatus& file) {
        lines.finished(index, file);
    };
    events.checksumNote = [&](const transfer::ChecksumNote& note) {
        lines.put(ChecksumNoteLine(note));
    };
    transfer::RunOptions run;
    run.jobs = static_cast<std::size_t>(options.jobs);
    run.referrerPage = found.pageAddress;
    run.refetch = options.refetch;
    run.checksumLists = found.checksumLists;
    // Two files of one name are both kept, the later under a name of its own.
    run.names = transfer::DistinctNames(found.addresses);
    std::size_t renamed = 0;
    for (std::size_t i = 0; i < run.names.size(); ++i)
        renamed += run.names[i] != transfer::FileNameFromAddress(found.addresses[i]);
    const auto start = std::chrono::steady_clock::now();
    const std::vector<transfer::FileStatus> files =
        transfer::DownloadAll(engine, found.addresses, folder, run, events);
    const auto took = std::chrono::steady_clock::now() - start;
    lines.clear();

    std::size_t failed = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const transfer::FileOutcome outcome = files[i].result.outcome;
        if (files[i].finished && (outcome == transfer::FileOutcome::Written ||
                                  outcome == transfer::FileOutcome::Unchanged))
            continue;
        if (failed++ == 0)
            err << "grabwright-cli: these files were not downloaded:\n";
        err << EscapeForLine(found.addresses[i]) << '\n';
    }
    int status = failed == 0 ? 0 : 1;
    // A time limit that ran out after the last file harmed nothing.
    if (failed > 0 || CurrentStop() != StopReason::TimeUp) {
        if (const int stopped = ExitStatusForStop(err); stopped >= 0)
            status = stopped;
    }
    err << RunSummary(files, took, errIsTerminal, renamed) << '\n' << std::flush;
    // The reader may have gone only now, with the summary.
    return CurrentStop() == StopReason::OutputClosed ? kOutputClosedStatus : status;
}

}  // namespace gw::cli
