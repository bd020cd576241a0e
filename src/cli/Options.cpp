#include "cli/Options.h"

#include <getopt.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

#include "cli/RateText.h"
#include "cli/TerminalText.h"
#include "harvest/Harvest.h"
#include "transfer/DownloadRun.h"

namespace gw::cli {
namespace {

// Beyond every character: these have no short form.
constexpr int kMaxTimeOption = 256;
constexpr int kCookiesOption = 257;
constexpr int kRefetchOption = 258;
constexpr int kLimitRateOption = 259;
constexpr int kRenderOption = 260;
constexpr int kRenderTimeOption = 261;
constexpr int kFormatOption = 262;

const option kLongOptions[] = {
    {"spec", required_argument, nullptr, 's'},
    {"dest", required_argument, nullptr, 'd'},
    {"jobs", required_argument, nullptr, 'j'},
    {"max-time", required_argument, nullptr, kMaxTimeOption},
    {"cookies", required_argument, nullptr, kCookiesOption},
    {"refetch", no_argument, nullptr, kRefetchOption},
    {"exclude", required_argument, nullptr, 'x'},
    {"media", no_argument, nullptr, 'm'},
    {"limit-rate", required_argument, nullptr, kLimitRateOption},
    {"render", no_argument, nullptr, kRenderOption},
    {"render-time", required_argument, nullptr, kRenderTimeOption},
    {"list", no_argument, nullptr, 'l'},
    {"format", required_argument, nullptr, kFormatOption},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
};

// The leading ":" has a missing value reported apart from an unknown option.
constexpr const char* kShortOptions = ":s:x:md:j:lhV";

// The name of an option as its long form, or as its short one where it has no long form.
std::string LongName(int value) {
    std::string name = "-";
    for (const option& entry : kLongOptions) {
        if (entry.name != nullptr && entry.val == value)
            return name + '-' + entry.name;
    }
    return name + static_cast<char>(value);
}

bool ReadJobs(const char* text, int& jobs) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || errno != 0 || value < 1 ||
        value > static_cast<long>(transfer::kMaxJobs))
        return false;
    jobs = static_cast<int>(value);
    return true;
}

// Plain decimals only: strtod would also take "inf", "nan", "1e10" and hexadecimal, none of
// which is a time limit anyone means. The numeric locale is never set, so "1.5" reads the same
// whatever the environment says.
bool ReadSeconds(const char* text, double& seconds) {
    const std::string_view digits(text);
    if (digits.empty() || digits.find_first_not_of("0123456789.") != std::string_view::npos ||
        digits.find('.') != digits.rfind('.') || digits == ".")
        return false;
    const double value = std::strtod(text, nullptr);
    if (value <= 0 || value > kMaxTimeLimit)
        return false;
    seconds = value;
    return true;
}

// The scheme is matched as libcurl and the engine match it: without regard to letter case.
bool IsWebAddress(const std::string& address) {
    const std::string scheme = address.substr(0, address.find(':'));
    std::string lower;
    for (const char c : scheme)
        lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return address.find("://") == scheme.size() && (lower == "http" || lower == "https");
}

// An option refused by getopt_long: `shortName` names a known option given a value it takes
// not ("--list=x") or an unknown short one; an unknown long one is known only as `given`.
std::string WhyRefused(int shortName, const std::string& given) {
    const std::string name = LongName(shortName);
    if (name.size() > 2 && given.rfind("--", 0) == 0 && given.find('=') != std::string::npos)
        return name + " takes no value";
    if (shortName != 0)
        return "unknown option " + EscapeForLine(name);
    return "unknown option " + EscapeForLine(given);
}

// The reason for one option that cannot be taken, or "" when it is taken into `options`.
std::string TakeOption(int value, const char* argument, Options& options) {
    switch (value) {
        case 's':
            options.fileSpecs.emplace_back(argument);
            return "";
        case 'x':
            options.excludes.emplace_back(argument);
            return "";
        case 'm':
            options.media = true;
            return "";
        case 'd':
            options.folder = argument;
            return options.folder.empty() ? "--dest needs a folder" : "";
        case 'j':
            return ReadJobs(argument, options.jobs) ? ""
                                                    : "--jobs takes a whole number from 1 to " +
                                                          std::to_string(transfer::kMaxJobs);
        case kMaxTimeOption:
            return ReadSeconds(argument, options.maxTimeSeconds)
                       ? ""
                       : "--max-time takes a number of seconds above 0 and at most " +
                             std::to_string(kMaxTimeLimit) + " (a year)";
        case kLimitRateOption:
            if (const auto rate = ReadRate(argument)) {
                options.limitRate = *rate;
                return "";
            }
            return "--limit-rate takes a whole number of bytes per second, at least 1k, "
                   "optionally followed by k, M or G";
        case kCookiesOption:
            options.cookiesFile = argument;
            return options.cookiesFile.empty() ? "--cookies needs a file" : "";
        case kRefetchOption:
            options.refetch = true;
            return "";
        case kRenderOption:
            options.render = true;
            return "";
        case kRenderTimeOption:
            return ReadSeconds(argument, options.renderSeconds)
                       ? ""
                       : "--render-time takes a number of seconds above 0 and at most " +
                             std::to_string(kMaxTimeLimit) + " (a year)";
        case 'l':
            options.list = true;
            return "";
        case kFormatOption:
            if (argument == std::string_view("plain"))
                options.format = transfer::FileListFormat::Plain;
            else if (argument == std::string_view("aria2"))
                options.format = transfer::FileListFormat::Aria2;
            else if (argument == std::string_view("metalink"))
                options.format = transfer::FileListFormat::Metalink;
            else
                return "--format takes plain, aria2 or metalink";
            return "";
        case 'h':
            options.help = true;
            return "";
        case 'V':
            options.version = true;
            return "";
    }
    return "unknown option";
}

}  // namespace

std::optional<Options> ParseOptions(int argc, char** argv, std::string& why) {
    Options options;
    opterr = 0;  // the reasons are worded here, and go out in two lines
    optind = 0;
    for (;;) {
        const int value = ::getopt_long(argc, argv, kShortOptions, kLongOptions, nullptr);
        if (value == -1)
            break;
        if (value == ':') {
            why = LongName(optopt) + " needs a value";
        } else if (value == '?') {
            why = WhyRefused(optopt, argv[optind - 1]);
        } else {
            why = TakeOption(value, optarg, options);
        }
        if (!why.empty())
            return std::nullopt;
    }
    if (options.help || options.version)
        return options;
    if (optind < argc - 1) {
        why = "only one address can be given";
        return std::nullopt;
    }
    if (optind == argc) {
        why = "no address given";
        return std::nullopt;
    }
    options.address = argv[optind];
    if (options.render && !IsWebAddress(options.address)) {
        why = "--render takes only http and https addresses";
        return std::nullopt;
    }
    if (options.fileSpecs.empty())
        options.fileSpecs.emplace_back("*.zip");
    for (const auto* patterns : {&options.fileSpecs, &options.excludes}) {
        for (const std::string& fileSpec : *patterns) {
            if (!harvest::PatternIsValid(harvest::BuildMatchPattern(fileSpec))) {
                why = "the pattern \"" + EscapeForLine(fileSpec) +
                      "\" is not valid: a \"[\" has no closing \"]\"";
                return std::nullopt;
            }
        }
    }
    return options;
}

harvest::HarvestOptions SearchOf(const Options& options) {
    harvest::HarvestOptions search;
    for (const std::string& fileSpec : options.fileSpecs)
        search.patterns.push_back(harvest::BuildMatchPattern(fileSpec));
    for (const std::string& fileSpec : options.excludes)
        search.excludes.push_back(harvest::BuildMatchPattern(fileSpec));
    search.media = options.media;
    return search;
}

}  // namespace gw::cli
