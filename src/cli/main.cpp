#include <unistd.h>

#include <exception>
#include <iostream>
#include <string>

#include "ProjectVersion.h"
#include "cli/DownloadCommand.h"
#include "cli/FoundFiles.h"
#include "cli/ListCommand.h"
#include "cli/Locale.h"
#include "cli/Options.h"
#include "cli/Stop.h"
#include "cli/TerminalText.h"
#include "platform/PageRenderer.h"
#include "platform/TransferEngine.h"
#include "transfer/SpeedBudget.h"

namespace {

// Laid out as help2man reads it: the manual page is made from this text and the version line.
const char* const kHelp =
    "Usage: grabwright-cli [OPTION]... ADDRESS\n"
    "  or:  grabwright-cli --list [OPTION]... ADDRESS\n"
    "Download the files linked from the web page at ADDRESS whose names match a pattern.\n"
    "\n"
    "The page is fetched and searched for anchor links whose file names match PATTERN\n"
    "(wildcards * ? # and [lists]), each address once, in the order the links stand on\n"
    "the page. Every file found is downloaded into FOLDER under the name after the last\n"
    "\"/\" of its address (a later file of a name already found as NAME (2).EXT, then\n"
    "(3), ...); a file of that name is replaced only once the new one has arrived\n"
    "whole. A file that an earlier run left there, unchanged since, is asked\n"
    "about first (If-None-Match, If-Modified-Since) and kept, not fetched again, when\n"
    "the server answers that it still holds that version. Each file carries its\n"
    "address, Referer and version in extended attributes (getfattr -d FILE shows\n"
    "them). Progress, the addresses that failed and a closing summary go to standard\n"
    "error. In every address and file name printed, bytes below 0x20, 0x7F and the C1\n"
    "controls (a lone byte 0x80 to 0x9F, or U+0080 to U+009F in UTF-8) stand as %XX.\n"
    "Each download names the page as its Referer (only its origin to another site,\n"
    "nothing from https to http) and carries the cookies the page's answers set; no\n"
    "cookie is ever written to disk.\n"
    "\n"
    "Where the page links checksum lists (SHA256SUMS and its kin, whatever PATTERN, or\n"
    "NAME.sha256 and the like beside a file found), each file they name is hashed as it\n"
    "arrives and takes its name only when it matches; one that does not fails.\n"
    "\n"
    "Options:\n"
    "  -s, --spec=PATTERN      the file names to look for (default \"*.zip\"); given\n"
    "                          more than once, a name matching any of them is taken\n"
    "  -x, --exclude=PATTERN   leave out the names matching PATTERN, by the same rules\n"
    "                          (may be given more than once); checksum lists are read\n"
    "                          all the same\n"
    "  -m, --media             also look in images, video and audio: the largest\n"
    "                          picture of a srcset, lazy-load attributes, video,\n"
    "                          poster, audio, track, embed, object and url(...) in\n"
    "                          style attributes, resolved as a browser resolves them\n"
    "  -d, --dest=FOLDER       download into FOLDER (default: the current folder)\n"
    "  -j, --jobs=N            fetch up to N files at once (1 to 16; default 1)\n"
    "      --max-time=SECONDS  stop the whole command after this long (a year at most)\n"
    "      --cookies=FILE      send the cookies of FILE (Netscape format, as browsers'\n"
    "                          export add-ons, curl -c and wget --save-cookies write\n"
    "                          it) with the page and the downloads; FILE is only read,\n"
    "                          and must be a regular file of 64 MiB at most\n"
    "      --refetch           fetch every file whole, even one that is still the\n"
    "                          server's version\n"
    "      --limit-rate=RATE   receive at most RATE bytes a second, every transfer\n"
    "                          together: the page, the checksum lists and the files;\n"
    "                          a whole number, at least 1k, optionally followed by\n"
    "                          k, M or G (1024, 1024^2, 1024^3 bytes)\n"
    "      --render            run the page's scripts first, in a browser engine off\n"
    "                          screen (the page renderer, grabwright-render), and read\n"
    "                          the page as it stands once it has settled; http and\n"
    "                          https only. The page goes with the same user agent and\n"
    "                          --cookies, and the cookies it sets go with the\n"
    "                          downloads. The speed limit does not bind what the\n"
    "                          engine loads\n"
    "      --render-time=SECONDS  with --render, read the page as it stands after this\n"
    "                          long if it has not settled by then (default 20)\n"
    "  -l, --list              print the found addresses to standard output, one per\n"
    "                          line, instead of downloading them\n"
    "      --format=FORMAT     with --list, write the found files as FORMAT: plain\n"
    "                          (the default), aria2 (an input file for aria2c -i) or\n"
    "                          metalink (Metalink 4, for a .meta4 file), with the\n"
    "                          names they would be saved under, their Referer and the\n"
    "                          hashes the page's checksum lists give them\n"
    "  -h, --help              show this help and exit\n"
    "  -V, --version           show the version and exit\n"
    "\n"
    "Ctrl-C stops after the files in progress; a second Ctrl-C stops at once.\n"
    "\n"
    "Exit status:\n"
    "  0    every file arrived or was already up to date (with --list: addresses\n"
    "       were listed)\n"
    "  1    the page could not be fetched, nothing was found, a file failed or the\n"
    "       time limit ran out (the reason goes to standard error)\n"
    "  2    a usage error\n"
    "  129  hung up (SIGHUP)\n"
    "  130  interrupted by Ctrl-C\n"
    "  141  standard output or error was a pipe whose reader went away\n"
    "  143  terminated (SIGTERM)\n";

int Print(const std::string& text) {
    std::cout << text << std::flush;
    if (!std::cout) {
        std::cerr << "grabwright-cli: standard output could not be written\n";
        return 1;
    }
    return 0;
}

int Run(int argc, char** argv) {
    // From the first step on, so that whatever comes before the downloads (a large cookies
    // file takes libcurl a minute) can be stopped too.
    if (!gw::cli::CatchStopSignals()) {
        std::cerr << "grabwright-cli: the signal handlers could not be set\n";
        return 1;
    }
    gw::cli::UseCharacterLocale();
    std::string why;
    const auto options = gw::cli::ParseOptions(argc, argv, why);
    if (!options) {
        std::cerr << "grabwright-cli: " << why << "\nTry 'grabwright-cli --help'.\n";
        return 2;
    }
    if (options->help)
        return Print(kHelp);
    if (options->version)
        return Print("grabwright-cli " GW_VERSION_TEXT "\n");
    gw::cli::SetTimeLimit(options->maxTimeSeconds);
    gw::platform::InitTransfers();
    gw::platform::TransferEngine engine;
    gw::transfer::LimitSpeed(engine, options->limitRate);
    const auto stopped = [] { return gw::cli::CurrentStop() != gw::cli::StopReason::None; };
    if (!options->cookiesFile.empty() && !engine.loadCookies(options->cookiesFile, why, stopped)) {
        if (why.empty())
            return gw::cli::ExitStatusForStop(std::cerr);
        std::cerr << "grabwright-cli: " << gw::cli::EscapeForLine(why)
                  << "\nTry 'grabwright-cli --help'.\n";
        return 2;
    }
    const bool errIsTerminal = ::isatty(STDERR_FILENO) == 1;
    gw::cli::PageRendering rendering;
    if (options->render) {
        rendering = {gw::platform::FindRenderHelper(), options->renderSeconds,
                     options->cookiesFile};
        if (rendering.helper.empty()) {
            std::cerr << "grabwright-cli: --render needs the page renderer, which is not "
                         "installed (the package "
                      << gw::platform::kRenderPackage << ")\nTry 'grabwright-cli --help'.\n";
            return 2;
        }
    }
    if (options->list)
        return gw::cli::RunList(engine, *options, std::cout, std::cerr, errIsTerminal, rendering);
    return gw::cli::RunDownloadCommand(engine, *options, std::cerr, errIsTerminal, rendering);
}

}  // namespace

// What no step caught (memory ran out, a library threw) ends the command with its reason,
// never with std::terminate's abort and core dump.
int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& caught) {
        std::cerr << "grabwright-cli: " << gw::cli::EscapeForLine(caught.what()) << '\n';
    } catch (...) {
        std::cerr << "grabwright-cli: an unknown error\n";
    }
    return 1;
}
