#include "harvest/ChecksumLinks.h"

#include <unordered_set>

#include "harvest/ByteScan.h"
#include "harvest/FoundCapacity.h"
#include "harvest/UpperCase.h"

namespace gw::harvest {
namespace {

constexpr std::string_view kListNames[] = {"SHA512SUMS", "SHA256SUMS", "SHA1SUMS", "MD5SUMS",
                                           "CHECKSUMS"};
constexpr std::string_view kSidecarEndings[] = {".SHA512", ".SHA256", ".SHA1", ".MD5"};
// Beside a list these hold its signature, not checksums.
constexpr std::string_view kSignatureSuffixes[] = {".GPG", ".SIG", ".SIGN"};

std::string_view NameOf(std::string_view address) {
    const std::size_t slash = address.rfind('/');
    return slash == std::string_view::npos ? address : address.substr(slash + 1);
}

// Every name this gathers holds "SUM", ".SHA" or ".MD5": one pass over a span tells whether it
// is worth resolving, so a page of a million ordinary links costs little more than before.
bool MayNameChecksums(std::string_view upper) {
    for (std::size_t i = FindEitherByte(upper, 0, 'S', 'M'); i < upper.size();
         i = FindEitherByte(upper, i + 1, 'S', 'M')) {
        const std::string_view from = upper.substr(i);
        if (from.starts_with("SUM") ||
            (i > 0 && upper[i - 1] == '.' && (from.starts_with("SHA") || from.starts_with("MD5"))))
            return true;
    }
    return false;
}

// "SHA256SUMS", "sha256sums.txt", "CHECKSUMS.asc": a list's own name, then nothing or a suffix.
bool IsListName(std::string_view upperName) {
    for (const std::string_view list : kListNames) {
        if (!upperName.starts_with(list))
            continue;
        const std::string_view suffix = upperName.substr(list.size());
        if (suffix.empty())
            return true;
        if (suffix.front() != '.' || suffix.size() == 1 ||
            suffix.find('.', 1) != std::string_view::npos)
            return false;
        for (const std::string_view signature : kSignatureSuffixes) {
            if (suffix == signature)
                return false;
        }
        return true;
    }
    return false;
}

// The length of the name a sidecar is named after ("a.zip" of "a.zip.sha256" or
// "a.zip.md5sum"), 0 when the name is no sidecar's.
std::size_t SidecarOf(std::string_view upperName) {
    if (upperName.ends_with("SUM"))
        upperName.remove_suffix(3);
    for (const std::string_view ending : kSidecarEndings) {
        if (upperName.size() > ending.size() && upperName.ends_with(ending))
            return upperName.size() - ending.size();
    }
    return 0;
}

}  // namespace

ChecksumLinks::ChecksumLinks(std::string_view fetchedAddress) : resolver_("*", fetchedAddress) {}

void ChecksumLinks::Add(std::string_view span, std::string_view upperSpan) {
    if (candidates_.size() >= kFoundCapacity || !MayNameChecksums(upperSpan) ||
        !resolver_.Resolve(span, upperSpan, entry_))
        return;
    const std::string_view name = NameOf(entry_);
    std::string upperName(name.size(), '\0');
    UpperCaseInto(name.data(), name.size(), upperName.data());
    const bool list = IsListName(upperName);
    const std::size_t sidecarOf = list ? 0 : SidecarOf(upperName);
    if ((list || sidecarOf > 0) && seen_.insert(entry_).second)
        candidates_.push_back({entry_, sidecarOf});
}

std::vector<std::string> ChecksumLinks::Take(const std::vector<std::string>& found) {
    std::unordered_set<std::string_view> names;
    for (const std::string& address : found)
        names.insert(NameOf(address));
    std::vector<std::string> lists;
    for (Candidate& candidate : candidates_) {
        if (candidate.nameLength == 0 ||
            names.contains(NameOf(candidate.address).substr(0, candidate.nameLength)))
            lists.push_back(std::move(candidate.address));
    }
    candidates_.clear();
    seen_.clear();
    return lists;
}

}  // namespace gw::harvest
