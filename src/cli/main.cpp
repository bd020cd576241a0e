#include <unistd.h>

#include <iostream>
#include <string>

#include "cli/DownloadCommand.h"
#include "cli/ListCommand.h"
#include "cli/Locale.h"
#include "cli/Options.h"
#include "cli/Stop.h"
#include "platform/TransferEngine.h"

namespace {

const char* const kUsage =
    "Usage: grabwright-cli [--spec PATTERN] [--dest FOLDER] [--jobs N] [--max-time SECONDS]\n"
    "                      [--] ADDRESS\n"
    "       grabwright-cli --list [--spec PATTERN] [--max-time SECONDS] [--] ADDRESS\n"
    "\n"
    "Fetches the web page at ADDRESS and finds the anchor links whose file names match PATTERN\n"
    "(default \"*.zip\"; wildcards * ? # and [lists]), without duplicates, in the order they\n"
    "stand on the page.\n"
    "\n"
    "Without --list, downloads every found file into FOLDER (default: the current folder),\n"
    "each under the name after the last \"/\" of its address; a file of that name is replaced\n"
    "only once the new one has arrived whole. Progress and the addresses that failed go to\n"
    "standard error.\n"
    "  --jobs N            fetch up to N files at once (1 to 16; default 1)\n"
    "  --max-time SECONDS  stop the whole command after this long\n"
    "  Ctrl-C              stops after the files in progress; a second Ctrl-C stops at once\n"
    "\n"
    "With --list, prints the found addresses to standard output, one per line, instead; bytes\n"
    "below 0x20 and 0x7F are printed as %XX.\n"
    "\n"
    "Exit status: 0 when every file arrived (with --list: when addresses were listed), 1 when\n"
    "the page could not be fetched, nothing was found, a file failed or the time limit ran out\n"
    "(the reason goes to standard error), 2 for a usage error, 130 when interrupted by Ctrl-C,\n"
    "143 when terminated (SIGTERM).\n";

}  // namespace

int main(int argc, char** argv) {
    gw::cli::UseCharacterLocale();
    std::string why;
    const auto options = gw::cli::ParseOptions(argc, argv, why);
    if (!options) {
        std::cerr << "grabwright-cli: " << why << "\n\n" << kUsage;
        return 2;
    }
    if (options->help) {
        std::cout << kUsage << std::flush;
        if (!std::cout) {
            std::cerr << "grabwright-cli: standard output could not be written\n";
            return 1;
        }
        return 0;
    }
    gw::cli::CatchStopSignals();
    gw::cli::SetTimeLimit(options->maxTimeSeconds);
    gw::platform::InitTransfers();
    if (options->list)
        return gw::cli::RunList(options->address, options->fileSpec, std::cout, std::cerr);
    return gw::cli::RunDownload(*options, std::cerr, ::isatty(STDERR_FILENO) == 1);
}
