#include "cli/ListCommand.h"

#include <ostream>

#include "cli/FoundFiles.h"

namespace gw::cli {

std::string EscapeForLine(const std::string& address) {
    static const char hex[] = "0123456789ABCDEF";
    std::string line;
    line.reserve(address.size());
    for (const char c : address) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            line += '%';
            line += hex[byte >> 4];
            line += hex[byte & 0xF];
        } else {
            line += c;
        }
    }
    return line;
}

int RunList(const std::string& address, const std::string& fileSpec, std::ostream& out,
            std::ostream& err) {
    platform::TransferEngine engine;
    const FoundFiles found = FindFiles(engine, address, fileSpec, err);
    if (found.exitCode != 0)
        return found.exitCode;
    for (const std::string& entry : found.addresses)
        out << EscapeForLine(entry) << '\n';
    out.flush();
    if (!out) {
        err << "grabwright-cli: the list could not be written to standard output\n";
        return 1;
    }
    return 0;
}

}  // namespace gw::cli
