#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "harvest/Harvest.h"
#include "transfer/FileList.h"

namespace gw::cli {

struct Options {
    bool help = false;
    bool version = false;
    bool list = false;
    // How --list writes the found files: plain addresses, aria2's input file or Metalink.
    transfer::FileListFormat format = transfer::FileListFormat::Plain;
    bool refetch = false;
    // The names wanted (a name matching any is taken; "*.zip" when none is given), and those
    // not wanted after all.
    std::vector<std::string> fileSpecs;
    std::vector<std::string> excludes;
    bool media = false;
    std::string folder = ".";
    int jobs = 1;
    double maxTimeSeconds = 0;    // 0: no limit
    std::uint64_t limitRate = 0;  // bytes per second for every transfer together; 0: no limit
    std::string cookiesFile;      // "": no cookies but those the answers set
    bool render = false;          // the page's scripts run first, in the page renderer
    double renderSeconds = 20;    // the longest wait for a rendered page to settle
    std::string address;
};

// The longest --max-time, in seconds: a year.
inline constexpr int kMaxTimeLimit = 31536000;

// The options of one command line (argv[1..], which it may reorder); nothing, with `why` set
// to a one-line reason, for a usage error.
std::optional<Options> ParseOptions(int argc, char** argv, std::string& why);

// What the search of the page looks for.
harvest::HarvestOptions SearchOf(const Options& options);

}  // namespace gw::cli
