#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/FileTags.h"
#include "platform/FileWriter.h"
#include "platform/TransferEngine.h"
#include "transfer/VersionRecord.h"

namespace gw::transfer {

// The freedesktop common extended attributes that say where a downloaded file came from, and
// this program's record of the version it holds (see VersionRecord).
inline constexpr const char* kOriginTag = "user.xdg.origin.url";
inline constexpr const char* kReferrerTag = "user.xdg.referrer.url";
inline constexpr const char* kVersionTag = "user.grabwright.version";
inline const std::vector<std::string> kDownloadTags = {kOriginTag, kReferrerTag, kVersionTag};

// `address` without the user name and password its authority may hold.
std::string WithoutUserInfo(const std::string& address);

// The tags a download of `address` (as the found list has it, before redirects) carries into
// place: its origin, the Referer its request sent when one was sent, and the validators of the
// answer whose body it is with the size and date the file was left with and the listed hash its
// bytes matched, if any.
std::vector<platform::FileTag> DownloadTags(const std::string& address, const std::string& referrer,
                                            const std::string& etag,
                                            const std::string& lastModified,
                                            const platform::FileStamp& left,
                                            const std::optional<RecordedHash>& hash = {});

// The tags of the file downloaded from `address`, found on `page`, whose body the answer
// `head` began, for the file writer to set once the file's size and date are final.
platform::FileWriter::TagMaker TagsOnArrival(const std::string& address, const std::string& page,
                                             const platform::ResponseHead& head,
                                             std::optional<RecordedHash> hash);

// What a request carries to ask whether the copy at the name is still the server's file;
// nothing set: an ordinary request.
struct Condition {
    std::string ifNoneMatch;      // the recorded ETag
    std::string ifModifiedSince;  // the recorded Last-Modified
    platform::FileStamp stamp;    // the copy's as recorded: a copy that no longer has it is gone
    std::optional<RecordedHash> hash;  // the listed hash the copy matched when it arrived

    bool any() const { return !ifNoneMatch.empty() || !ifModifiedSince.empty(); }
};

// The condition for downloading `address` when `standing` stands at its name: only a regular
// file that came from the same address and whose size and date are still the recorded ones
// (no one edited, truncated or copied over it since) is asked about, by the validators the
// server sent with it; any other file is fetched whole.
Condition ConditionFor(const std::optional<platform::StandingFile>& standing,
                       const std::string& address);

// The condition for `address` given what stands at `name` in `folder` now.
Condition ConditionAt(const std::string& folder, const std::string& name,
                      const std::string& address);

// Whether the copy that `sent` asked about still stands at `name` in `folder` as it was: one
// deleted or written to while the server's answer was on its way is not confirmed by it.
bool CopyStillThere(const Condition& sent, const std::string& folder, const std::string& name);

// Whether the answer to a request that carried `sent` confirms the copy at the name, which
// then stays exactly as it is. A 304 to a request that asked nothing confirms nothing: it is
// an answer without a file, as any other 3xx that goes nowhere.
bool ConfirmsCopy(const Condition& sent, long httpStatus);

}  // namespace gw::transfer
