#include "transfer/KnownCopy.h"

#include "platform/Referrer.h"
#include "transfer/VersionRecord.h"

namespace gw::transfer {

std::string WithoutUserInfo(const std::string& address) {
    const std::size_t scheme = address.find("://");
    if (scheme == std::string::npos)
        return address;
    const std::size_t start = scheme + 3;
    const std::size_t end = address.find_first_of("/?#", start);
    const std::size_t at = address.rfind('@', end == std::string::npos ? end : end - 1);
    if (at == std::string::npos || at < start)
        return address;
    return address.substr(0, start) + address.substr(at + 1);
}

std::vector<platform::FileTag> DownloadTags(const std::string& address, const std::string& referrer,
                                            const std::string& etag,
                                            const std::string& lastModified,
                                            const platform::FileStamp& left,
                                            const std::optional<RecordedHash>& hash) {
    std::vector<platform::FileTag> tags{{kOriginTag, WithoutUserInfo(address)}};
    if (!referrer.empty())
        tags.push_back({kReferrerTag, WithoutUserInfo(referrer)});
    tags.push_back({kVersionTag, FormatVersionRecord({etag, lastModified, left, hash})});
    return tags;
}

platform::FileWriter::TagMaker TagsOnArrival(const std::string& address, const std::string& page,
                                             const platform::ResponseHead& head,
                                             std::optional<RecordedHash> hash) {
    return [address, referrer = platform::ReferrerFor(page, address), etag = head.etag,
            lastModified = head.lastModified,
            hash = std::move(hash)](const platform::FileStamp& left) {
        return DownloadTags(address, referrer, etag, lastModified, left, hash);
    };
}

Condition ConditionFor(const std::optional<platform::StandingFile>& standing,
                       const std::string& address) {
    if (!standing)
        return {};
    const auto origin = standing->tags.find(kOriginTag);
    const auto version = standing->tags.find(kVersionTag);
    if (origin == standing->tags.end() || origin->second != WithoutUserInfo(address) ||
        version == standing->tags.end())
        return {};
    const std::optional<VersionRecord> record = ParseVersionRecord(version->second);
    if (!record || record->stamp != standing->stamp)
        return {};
    return {record->etag, record->lastModified, record->stamp, record->hash};
}

Condition ConditionAt(const std::string& folder, const std::string& name,
                      const std::string& address) {
    return ConditionFor(platform::ReadStandingFile(folder, name, kDownloadTags), address);
}

bool CopyStillThere(const Condition& sent, const std::string& folder, const std::string& name) {
    const auto standing = platform::ReadStandingFile(folder, name, {});
    return standing && standing->stamp == sent.stamp;
}

bool ConfirmsCopy(const Condition& sent, long httpStatus) {
    return httpStatus == 304 && sent.any();
}

}  // namespace gw::transfer
