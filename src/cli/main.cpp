#include <cstring>
#include <iostream>
#include <string>

#include "cli/ListCommand.h"
#include "platform/UrlTransfer.h"

namespace {

const char* const kUsage =
    "Usage: grabwright-cli --list [--spec PATTERN] ADDRESS\n"
    "\n"
    "Fetches the web page at ADDRESS, finds the anchor links whose file names match PATTERN\n"
    "(default \"*.zip\"; wildcards * ? # and [lists]), and prints their full addresses, one per\n"
    "line, without duplicates, in the order they stand on the page. Bytes below 0x20 and 0x7F\n"
    "are printed as %XX.\n"
    "\n"
    "Exit status: 0 when addresses were listed, 1 when the page could not be fetched or nothing\n"
    "matched (the reason goes to standard error), 2 for a usage error.\n";

int usageError(const std::string& why) {
    std::cerr << "grabwright-cli: " << why << "\n\n" << kUsage;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool list = false;
    std::string fileSpec = "*.zip";
    std::string address;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (argument == "--list") {
            list = true;
        } else if (argument == "--spec") {
            if (++i >= argc)
                return usageError("--spec needs a pattern");
            fileSpec = argv[i];
        } else if (argument.rfind("--spec=", 0) == 0) {
            fileSpec = argument.substr(std::strlen("--spec="));
        } else if (!argument.empty() && argument[0] == '-' && argument != "-") {
            return usageError("unknown option " + argument);
        } else if (address.empty()) {
            address = argument;
        } else {
            return usageError("only one address can be given");
        }
    }
    if (!list)
        return usageError("say what to do: --list");
    if (address.empty())
        return usageError("no address given");

    gw::platform::InitTransfers();
    return gw::cli::RunList(address, fileSpec, std::cout, std::cerr);
}
