#include "cli/ProgressLines.h"

#include <ostream>

#include "cli/ListCommand.h"

namespace gw::cli {
namespace {

constexpr std::chrono::milliseconds kRedrawInterval{100};

}  // namespace

ProgressLines::ProgressLines(std::ostream& err, bool terminal,
                             const std::vector<std::string>& addresses)
    : err_(err), terminal_(terminal), addresses_(addresses) {}

void ProgressLines::put(const std::string& line) {
    clear();
    err_ << line << '\n' << std::flush;
}

void ProgressLines::clear() {
    if (lineShown_)
        err_ << "\r\033[K" << std::flush;
    lineShown_ = false;
}

void ProgressLines::update(const std::vector<transfer::FileStatus>& files) {
    if (!terminal_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastUpdate_ < kRedrawInterval)
        return;
    lastUpdate_ = now;
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
    std::string line = "file " + std::to_string(first + 1) + " of " + std::to_string(files.size()) +
                       " (" + EscapeForLine(addresses_[first]) +
                       "): " + std::to_string(files[first].bytes) + " bytes";
    if (running > 1)
        line += ", " + std::to_string(running - 1) + " more in progress";
    err_ << "\r\033[K" << line << std::flush;
    lineShown_ = true;
}

void ProgressLines::finished(std::size_t index, const transfer::FileStatus& file) {
    const std::string head = "file " + std::to_string(index + 1) + " of " +
                             std::to_string(addresses_.size()) + " (" +
                             EscapeForLine(addresses_[index]) + "): ";
    if (file.result.outcome == transfer::FileOutcome::Written) {
        if (!terminal_)
            put(head + std::to_string(file.bytes) + " bytes");
    } else {
        put(head + "failed: " + file.result.error);
    }
}

}  // namespace gw::cli
