#include "transfer/FileList.h"

#include <cstdio>
#include <ctime>

#include "platform/FileWriter.h"
#include "transfer/EscapedText.h"

namespace gw::transfer {
namespace {

// The registry of hash names that aria2 and Metalink share ("sha-256").
const char* HashType(platform::HashAlgorithm algorithm) {
    switch (algorithm) {
        case platform::HashAlgorithm::Md5:
            return "md5";
        case platform::HashAlgorithm::Sha1:
            return "sha-1";
        case platform::HashAlgorithm::Sha256:
            return "sha-256";
        case platform::HashAlgorithm::Sha512:
            return "sha-512";
    }
    return "";
}

std::string XmlEscaped(const std::string& text) {
    std::string out;
    for (const char c : EscapeControls(text, true)) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Rfc3339(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

void WriteAria2(std::string& out, const ListedFile& file) {
    out += EscapeControls(file.address) + "\n  out=" + EscapeControls(file.name) + "\n";
    if (!file.referrer.empty())
        out += "  referer=" + EscapeControls(file.referrer) + "\n";
    if (file.hash)
        out += std::string("  checksum=") + HashType(file.hash->algorithm) + "=" + file.hash->hex +
               "\n";
}

void WriteMetalinkFile(std::string& out, const ListedFile& file) {
    out += "  <file name=\"" + XmlEscaped(file.name) + "\">\n";
    if (file.hash)
        out += std::string("    <hash type=\"") + HashType(file.hash->algorithm) + "\">" +
               file.hash->hex + "</hash>\n";
    out += "    <url>" + XmlEscaped(file.address) + "</url>\n  </file>\n";
}

}  // namespace

std::string WriteFileList(FileListFormat format, const std::vector<ListedFile>& files,
                          const std::string& generator,
                          std::chrono::system_clock::time_point published,
                          const std::function<void(const std::string& address)>& leftOut) {
    std::string out;
    if (format == FileListFormat::Metalink)
        out +=
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<metalink xmlns=\"urn:ietf:params:xml:ns:metalink\">\n  <generator>" +
            XmlEscaped(generator) + "</generator>\n  <published>" + Rfc3339(published) +
            "</published>\n";
    for (const ListedFile& file : files) {
        if (!platform::NameStaysInFolder(file.name)) {
            if (leftOut)
                leftOut(file.address);
            continue;
        }
        switch (format) {
            case FileListFormat::Plain:
                out += EscapeControls(file.address) + "\n";
                break;
            case FileListFormat::Aria2:
                WriteAria2(out, file);
                break;
            case FileListFormat::Metalink:
                WriteMetalinkFile(out, file);
                break;
        }
    }
    if (format == FileListFormat::Metalink)
        out += "</metalink>\n";
    return out;
}

}  // namespace gw::transfer
