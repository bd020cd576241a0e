#include "transfer/VersionRecord.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iterator>

namespace gw::transfer {
namespace {

// The names of the record's lines, in the order they are written.
constexpr std::string_view kFields[] = {"ETag", "Last-Modified", "Size", "Modified", "Checksum"};
constexpr platform::HashAlgorithm kAlgorithms[] = {
    platform::HashAlgorithm::Md5, platform::HashAlgorithm::Sha1, platform::HashAlgorithm::Sha256,
    platform::HashAlgorithm::Sha512};

bool PlainText(std::string_view value) {
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return false;
    }
    return true;
}

// Digits only: no sign, no blank, nothing that from_chars would stop at.
template <typename Number>
bool ReadDigits(std::string_view text, Number& number) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    return !text.empty() && text.front() != '-' && text.front() != '+' && error == std::errc() &&
           stop == end;
}

bool ReadModified(std::string_view text, platform::FileStamp& stamp) {
    const std::size_t dot = text.find('.');
    return dot != std::string_view::npos && text.size() - dot - 1 == 9 &&
           ReadDigits(text.substr(0, dot), stamp.seconds) &&
           ReadDigits(text.substr(dot + 1), stamp.nanoseconds);
}

// "SHA-256 HEX".
bool ReadChecksum(std::string_view text, std::optional<RecordedHash>& hash) {
    const std::size_t blank = text.find(' ');
    if (blank == std::string_view::npos)
        return false;
    const std::string_view hex = text.substr(blank + 1);
    for (const platform::HashAlgorithm algorithm : kAlgorithms) {
        if (text.substr(0, blank) == platform::AlgorithmName(algorithm) &&
            hex.size() == platform::HexLength(algorithm) &&
            hex.find_first_not_of("0123456789abcdef") == std::string_view::npos) {
            hash = RecordedHash{algorithm, std::string(hex)};
            return true;
        }
    }
    return false;
}

}  // namespace

std::string FormatVersionRecord(const VersionRecord& record) {
    std::string text;
    if (!record.etag.empty())
        text += std::string(kFields[0]) + ": " + record.etag + "\n";
    if (!record.lastModified.empty())
        text += std::string(kFields[1]) + ": " + record.lastModified + "\n";
    text += std::string(kFields[2]) + ": " + std::to_string(record.stamp.size) + "\n";
    if (record.stamp.seconds >= 0) {
        char modified[48];
        std::snprintf(modified, sizeof modified, "%lld.%09ld",
                      static_cast<long long>(record.stamp.seconds),
                      static_cast<long>(record.stamp.nanoseconds));
        text += std::string(kFields[3]) + ": " + modified + "\n";
    }
    if (record.hash)
        text += std::string(kFields[4]) + ": " + platform::AlgorithmName(record.hash->algorithm) +
                " " + record.hash->hex + "\n";
    return text;
}

std::optional<VersionRecord> ParseVersionRecord(std::string_view text) {
    VersionRecord record;
    bool seen[std::size(kFields)] = {};
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t colon = text.substr(0, end).find(": ");
        if (end == std::string_view::npos || colon == std::string_view::npos)
            return std::nullopt;
        const std::string_view name = text.substr(0, colon);
        const std::string_view value = text.substr(colon + 2, end - colon - 2);
        text.remove_prefix(end + 1);
        const auto field = std::find(std::begin(kFields), std::end(kFields), name);
        const auto which = static_cast<std::size_t>(field - std::begin(kFields));
        if (field == std::end(kFields) || seen[which] || value.empty() || !PlainText(value))
            return std::nullopt;
        seen[which] = true;
        bool taken = true;
        switch (which) {
            case 0:
                record.etag = value;
                break;
            case 1:
                record.lastModified = value;
                break;
            case 2:
                taken = ReadDigits(value, record.stamp.size);
                break;
            case 3:
                taken = ReadModified(value, record.stamp);
                break;
            default:
                taken = ReadChecksum(value, record.hash);
        }
        if (!taken)
            return std::nullopt;
    }
    if (!seen[2] || !seen[3])
        return std::nullopt;
    return record;
}

}  // namespace gw::transfer
