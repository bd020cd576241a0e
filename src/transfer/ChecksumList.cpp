#include "transfer/ChecksumList.h"

#include <array>
#include <cctype>
#include <utility>

namespace gw::transfer {
namespace {

using platform::HashAlgorithm;

constexpr std::string_view kBlanks = " \t";

struct Named {
    std::string_view upper;
    HashAlgorithm algorithm;
};
constexpr std::array<Named, 4> kListNames{{{"SHA512SUMS", HashAlgorithm::Sha512},
                                           {"SHA256SUMS", HashAlgorithm::Sha256},
                                           {"SHA1SUMS", HashAlgorithm::Sha1},
                                           {"MD5SUMS", HashAlgorithm::Md5}}};
constexpr std::array<Named, 4> kSidecarEndings{{{".SHA512", HashAlgorithm::Sha512},
                                                {".SHA256", HashAlgorithm::Sha256},
                                                {".SHA1", HashAlgorithm::Sha1},
                                                {".MD5", HashAlgorithm::Md5}}};
// The tags of the BSD form ("SHA256 (NAME) = HASH") and OpenSSL's ("SHA2-256(NAME)= HASH").
constexpr std::array<Named, 6> kTags{{{"SHA512", HashAlgorithm::Sha512},
                                      {"SHA2-512", HashAlgorithm::Sha512},
                                      {"SHA256", HashAlgorithm::Sha256},
                                      {"SHA2-256", HashAlgorithm::Sha256},
                                      {"SHA1", HashAlgorithm::Sha1},
                                      {"MD5", HashAlgorithm::Md5}}};

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// The sidecar ending that `upper` ends in ("sum" allowed after it), as (algorithm, length).
std::optional<std::pair<HashAlgorithm, std::size_t>> SidecarEnding(std::string_view upper) {
    const std::size_t sum = upper.ends_with("SUM") ? 3 : 0;
    upper.remove_suffix(sum);
    for (const Named& ending : kSidecarEndings) {
        if (upper.size() > ending.upper.size() && upper.ends_with(ending.upper))
            return std::pair{ending.algorithm, ending.upper.size() + sum};
    }
    return std::nullopt;
}

std::optional<HashAlgorithm> AlgorithmOfLength(std::size_t hexLength) {
    for (const HashAlgorithm algorithm :
         {HashAlgorithm::Md5, HashAlgorithm::Sha1, HashAlgorithm::Sha256, HashAlgorithm::Sha512}) {
        if (platform::HexLength(algorithm) == hexLength)
            return algorithm;
    }
    return std::nullopt;
}

bool IsHex(std::string_view text) {
    for (const char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    }
    return !text.empty();
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The text between a clear-signed message's armor lines, its dash escapes undone; the text
// itself when it is no such message.
std::vector<std::string_view> SignedLines(std::vector<std::string_view> lines) {
    std::size_t first = 0;
    while (first < lines.size() && Trimmed(lines[first]).empty())
        ++first;
    if (first == lines.size() || lines[first] != "-----BEGIN PGP SIGNED MESSAGE-----")
        return lines;
    // Armor headers ("Hash: SHA256") end at the first empty line.
    std::size_t from = first + 1;
    while (from < lines.size() && !lines[from].empty())
        ++from;
    std::vector<std::string_view> text;
    for (std::size_t i = from + 1; i < lines.size(); ++i) {
        if (lines[i] == "-----BEGIN PGP SIGNATURE-----")
            break;
        text.push_back(lines[i].starts_with("- ") ? lines[i].substr(2) : lines[i]);
    }
    return text;
}

// A name of the escaped form ("\\" and "\n" in the name, a "\" before the line).
std::string Unescaped(std::string_view name) {
    std::string plain;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 1 < name.size()) {
            const char next = name[++i];
            plain += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            plain += name[i];
        }
    }
    return plain;
}

struct Line {
    std::optional<HashAlgorithm> tagged;
    std::string_view hex;
    std::string_view name;  // "" for a bare hash
};

// "TAG (NAME) = HASH", or OpenSSL's "TAG(NAME)= HASH".
std::optional<Line> ReadTaggedLine(std::string_view line) {
    const std::size_t open = line.find('(');
    const std::size_t close = line.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close <= open)
        return std::nullopt;
    std::string_view after = line.substr(close + 1);
    after.remove_prefix(std::min(after.find_first_not_of(kBlanks), after.size()));
    if (!after.starts_with('='))
        return std::nullopt;
    const std::string tag = Upper(Trimmed(line.substr(0, open)));
    for (const Named& known : kTags) {
        if (tag == known.upper)
            return Line{known.algorithm, Trimmed(after.substr(1)),
                        line.substr(open + 1, close - open - 1)};
    }
    return std::nullopt;
}

// "./a.iso" names "a.iso"; a sidecar that writes its own file under another path ("/build/a.iso")
// still names its own file.
std::string ListedName(std::string name, std::string_view sidecarFile) {
    while (name.starts_with("./"))
        name.erase(0, 2);
    if (!sidecarFile.empty() && std::string_view(name).substr(name.rfind('/') + 1) == sidecarFile)
        return std::string(sidecarFile);
    return name;
}

// "HASH  NAME", "HASH *NAME", or the hash alone.
std::optional<Line> ReadGnuLine(std::string_view line) {
    const std::size_t end = std::min(line.find_first_of(kBlanks), line.size());
    Line read{std::nullopt, line.substr(0, end), {}};
    if (!IsHex(read.hex))
        return std::nullopt;
    std::string_view rest = line.substr(end);
    rest.remove_prefix(std::min(rest.find_first_not_of(kBlanks), rest.size()));
    if (rest.starts_with('*'))
        rest.remove_prefix(1);
    read.name = rest;
    return read;
}

}  // namespace

std::optional<HashAlgorithm> AlgorithmOfListName(std::string_view listName) {
    const std::string upper = Upper(listName);
    for (const Named& list : kListNames) {
        if (upper.starts_with(list.upper))
            return list.algorithm;
    }
    if (const auto ending = SidecarEnding(upper))
        return ending->first;
    return std::nullopt;
}

std::string_view SidecarFileOf(std::string_view listName) {
    const auto ending = SidecarEnding(Upper(listName));
    return ending ? listName.substr(0, listName.size() - ending->second) : std::string_view{};
}

ReadList ReadChecksumList(std::string_view text, std::string_view listName) {
    std::vector<std::string_view> lines;
    for (std::size_t from = 0; from < text.size();) {
        const std::size_t end = std::min(text.find('\n', from), text.size());
        std::string_view line = text.substr(from, end - from);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.push_back(line);
        from = end + 1;
    }
    const std::optional<HashAlgorithm> named = AlgorithmOfListName(listName);
    const std::string_view sidecarFile = SidecarFileOf(listName);
    ReadList read;
    for (std::string_view line : SignedLines(std::move(lines))) {
        line.remove_prefix(std::min(line.find_first_not_of(kBlanks), line.size()));
        if (line.empty() || line.starts_with('#'))
            continue;
        const bool escaped = line.starts_with('\\');
        if (escaped)
            line.remove_prefix(1);
        std::optional<Line> parsed = ReadTaggedLine(line);
        if (!parsed)
            parsed = ReadGnuLine(line);
        const std::optional<HashAlgorithm> algorithm = !parsed          ? std::nullopt
                                                       : parsed->tagged ? parsed->tagged
                                                       : named
                                                           ? named
                                                           : AlgorithmOfLength(parsed->hex.size());
        std::string name;
        if (parsed)
            name = parsed->name.empty()
                       ? std::string(sidecarFile)
                       : ListedName(escaped ? Unescaped(parsed->name) : std::string(parsed->name),
                                    sidecarFile);
        if (name.empty() || !algorithm || !IsHex(parsed->hex) ||
            parsed->hex.size() != platform::HexLength(*algorithm)) {
            ++read.unreadable;
            continue;
        }
        std::string hex(parsed->hex);
        for (char& c : hex)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        read.hashes.push_back({std::move(name), *algorithm, std::move(hex)});
    }
    return read;
}

}  // namespace gw::transfer
