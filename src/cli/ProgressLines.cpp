#include "cli/ProgressLines.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <ostream>

#include "cli/TerminalText.h"

namespace gw::cli {
namespace {

constexpr std::chrono::milliseconds kRedrawInterval{100};
const std::vector<std::string> kNoAddresses;

// Asked at every redraw, so that a resized window gets lines of its new width.
int TerminalColumns() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

}  // namespace

ProgressLines::ProgressLines(std::ostream& err, bool terminal,
                             const std::vector<std::string>& addresses)
    : err_(err), terminal_(terminal), addresses_(addresses) {}

ProgressLines::ProgressLines(std::ostream& err, bool terminal)
    : ProgressLines(err, terminal, kNoAddresses) {}

void ProgressLines::put(const std::string& line) {
    clear();
    err_ << line << '\n' << std::flush;
}

void ProgressLines::clear() {
    if (lineShown_)
        err_ << "\r\033[K" << std::flush;
    lineShown_ = false;
}

bool ProgressLines::due() {
    if (!terminal_)
        return false;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastUpdate_ < kRedrawInterval)
        return false;
    lastUpdate_ = now;
    return true;
}

void ProgressLines::show(const std::string& head, const std::string& address,
                         const std::string& tail) {
    // A line as wide as the terminal would wrap, and "\r" would then go back to its second
    // row only, leaving the first behind at every redraw.
    const int columns = TerminalColumns() - 1;
    const int forAddress = columns - static_cast<int>(head.size() + tail.size());
    err_ << "\r\033[K"
         << FitColumns(head + FitColumns(EscapeForLine(address), forAddress) + tail, columns)
         << std::flush;
    lineShown_ = true;
}

void ProgressLines::page(const std::string& address, std::uint64_t bytes) {
    if (due())
        show("page (", address, "): " + std::to_string(bytes) + " bytes");
}

void ProgressLines::update(const std::vector<transfer::FileStatus>& files) {
    if (!due())
        return;
    std::size_t first = files.size();
    std::size_t running = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (files[i].started && !files[i].finished) {
            first = std::min(first, i);
            ++running;
        }
    }
    if (first == files.size())
        return;
    const std::string head =
        "file " + std::to_string(first + 1) + " of " + std::to_string(files.size()) + " (";
    std::string tail = "): " + std::to_string(files[first].bytes) + " bytes";
    if (running > 1)
        tail += ", " + std::to_string(running - 1) + " more in progress";
    show(head, addresses_[first], tail);
}

void ProgressLines::finished(std::size_t index, const transfer::FileStatus& file) {
    const std::string head = "file " + std::to_string(index + 1) + " of " +
                             std::to_string(addresses_.size()) + " (" +
                             EscapeForLine(addresses_[index]) + "): ";
    if (file.result.outcome == transfer::FileOutcome::Written) {
        if (!terminal_)
            put(head + std::to_string(file.bytes) + " bytes");
    } else if (file.result.outcome == transfer::FileOutcome::Unchanged) {
        if (!terminal_)
            put(head + "unchanged");
    } else {
        // The reason may quote the file's name, which the page chose.
        put(head + "failed: " + EscapeForLine(file.result.error));
    }
}

}  // namespace gw::cli
