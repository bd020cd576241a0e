#include "cli/ListCommand.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "harvest/Harvest.h"
#include "harvest/Messages.h"
#include "platform/UrlTransfer.h"
#include "platform/UserFolders.h"
#include "retrieval/Messages.h"
#include "retrieval/PageFetch.h"

namespace gw::cli {
namespace {

// A temporary page file of this run's own, never the wizard's fixed one.
class RunTempFile {
  public:
    RunTempFile() {
        std::string folder = platform::CacheFolder();
        if (folder.empty())
            folder = "/tmp";
        folder += "/grabwright";
        std::error_code ec;
        if (std::filesystem::create_directories(folder, ec))
            std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);
        std::string pattern = folder + "/cli-XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        if (fd >= 0) {
            ::close(fd);
            path_ = pattern;
        }
    }
    ~RunTempFile() {
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace

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
    const std::string pattern = harvest::BuildMatchPattern(fileSpec);
    if (!harvest::PatternIsValid(pattern)) {
        err << harvest::kInvalidPatternMessage << '\n';
        return 2;
    }
    RunTempFile temp;
    if (temp.path().empty()) {
        err << retrieval::kFetchFailedMessage
            << "\ngrabwright-cli: no temporary file could be made\n";
        return 1;
    }
    platform::UrlTransfer transfer;
    const retrieval::FetchedPage page = retrieval::FetchPage(transfer, address, temp.path());
    if (page.outcome == retrieval::FetchOutcome::Empty) {
        err << retrieval::kEmptyPageMessage << '\n';
        return 1;
    }
    if (page.outcome == retrieval::FetchOutcome::Failed) {
        err << retrieval::kFetchFailedMessage << "\ngrabwright-cli: " << page.error << '\n';
        return 1;
    }

    harvest::FoundLinks found = harvest::ScanAnchors(page.text, page.fetchedAddress, pattern);
    if (found.addresses.empty()) {
        err << harvest::kNothingFoundMessage << '\n';
        return 1;
    }
    harvest::RemoveDuplicates(found.addresses);
    for (const std::string& entry : found.addresses)
        out << EscapeForLine(entry) << '\n';
    if (found.dropped > 0) {
        err << "grabwright-cli: " << found.dropped << " further matching addresses were left out: "
            << "the list holds at most " << harvest::kFoundCapacity << ".\n";
    }
    out.flush();
    return out ? 0 : 1;
}

}  // namespace gw::cli
