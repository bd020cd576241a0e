#pragma once

#include <iosfwd>
#include <string>

namespace gw::cli {

// Fetches the page as the wizard does, harvests it with the pattern built from
// `fileSpec`, and writes the found addresses to `out`, one per line. Returns the exit code.
int RunList(const std::string& address, const std::string& fileSpec, std::ostream& out,
            std::ostream& err);

// The address for one output line: every byte below 0x20 and 0x7F as "%" and two upper-case
// hex digits, so that one line is one address and nothing reaches the terminal as a control.
std::string EscapeForLine(const std::string& address);

}  // namespace gw::cli
