#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "transfer/DownloadRun.h"

namespace gw::cli {

// Progress of a download run on standard error: on a terminal one line rewritten in place
// (file i of n, its address, bytes so far; before that the page's), never wider than the
// terminal; elsewhere one plain line per finished file.
class ProgressLines {
  public:
    ProgressLines(std::ostream& err, bool terminal, const std::vector<std::string>& addresses);
    // While only the page is on its way.
    ProgressLines(std::ostream& err, bool terminal);
    void page(const std::string& address, std::uint64_t bytes);
    void update(const std::vector<transfer::FileStatus>& files);
    void finished(std::size_t index, const transfer::FileStatus& file);
    void clear();
    // A line of its own, above the progress line.
    void put(const std::string& line);

  private:
    bool due();
    void show(const std::string& head, const std::string& address, const std::string& tail);

    std::ostream& err_;
    bool terminal_;
    const std::vector<std::string>& addresses_;
    bool lineShown_ = false;
    std::chrono::steady_clock::time_point lastUpdate_;
};

}  // namespace gw::cli
