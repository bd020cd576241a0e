#include "cli/Options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace gw::cli {
namespace {

// "--name VALUE" or "--name=VALUE"; advances `i` past a separate value.
bool TakeValue(const std::string& argument, const std::string& name, int argc, char** argv, int& i,
               std::optional<std::string>& value, std::string& why) {
    if (argument == name) {
        if (i + 1 >= argc) {
            why = name + " needs a value";
            return true;
        }
        value = argv[++i];
        return true;
    }
    if (argument.rfind(name + "=", 0) == 0) {
        value = argument.substr(name.size() + 1);
        return true;
    }
    return false;
}

bool ReadJobs(const std::string& text, int& jobs) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < 1 || value > kMaxJobs)
        return false;
    jobs = static_cast<int>(value);
    return true;
}

// The numeric locale is never set, so "1.5" reads the same whatever the environment says.
bool ReadSeconds(const std::string& text, double& seconds) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(value) || value <= 0)
        return false;
    seconds = value;
    return true;
}

}  // namespace

std::optional<Options> ParseOptions(int argc, char** argv, std::string& why) {
    Options options;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        std::optional<std::string> value;
        const bool isOption = !optionsEnded && argument.size() > 1 && argument[0] == '-';
        if (!isOption) {
            if (!options.address.empty()) {
                why = "only one address can be given";
                return std::nullopt;
            }
            options.address = argument;
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--list") {
            options.list = true;
        } else if (TakeValue(argument, "--spec", argc, argv, i, value, why)) {
            if (value)
                options.fileSpec = *value;
        } else if (TakeValue(argument, "--dest", argc, argv, i, value, why)) {
            if (value && value->empty())
                why = "--dest needs a folder";
            if (value)
                options.folder = *value;
        } else if (TakeValue(argument, "--jobs", argc, argv, i, value, why)) {
            if (value && !ReadJobs(*value, options.jobs))
                why = "--jobs takes a whole number from 1 to " + std::to_string(kMaxJobs);
        } else if (TakeValue(argument, "--max-time", argc, argv, i, value, why)) {
            if (value && !ReadSeconds(*value, options.maxTimeSeconds))
                why = "--max-time takes a number of seconds above 0";
        } else {
            why = "unknown option " + argument;
        }
        if (!why.empty())
            return std::nullopt;
    }
    if (!options.help && options.address.empty()) {
        why = "no address given";
        return std::nullopt;
    }
    return options;
}

}  // namespace gw::cli
