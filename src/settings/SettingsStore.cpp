#include "settings/SettingsStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/UserFolders.h"
#include "settings/IniText.h"

namespace gw::settings {
namespace {

struct LoadedFile {
    IniDocument document;
    bool exists = false;
    bool whole = true;  // read completely and every line understood
};

std::string settingsFile(const std::string& application) {
    std::string name;
    for (char c : application) name += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    const std::string folder = platform::ConfigFolder();
    if (folder.empty() || name.empty() || name.find('/') != std::string::npos) return "";
    return folder + "/" + name + ".ini";
}

LoadedFile load(const std::string& path) {
    LoadedFile file;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        file.exists = errno != ENOENT;
        file.whole = !file.exists;
        return file;
    }
    file.exists = true;
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) file.whole = false;
        if (got <= 0) break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    file.document = ParseIni(text);
    if (file.document.damaged) file.whole = false;
    return file;
}

bool writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

// What could not be read whole is kept aside before it is replaced, so that one bad line never
// costs the rest. A hard link keeps it without having to read it.
void keepBackup(const std::string& path) {
    const std::string backup = path + ".bak";
    ::unlink(backup.c_str());
    if (::link(path.c_str(), backup.c_str()) == 0) return;
    std::error_code ec;
    std::filesystem::copy_file(path, backup, std::filesystem::copy_options::overwrite_existing, ec);
}

// Temporary file, then rename: a crash or a full disk mid-write leaves the old file as it was.
bool replaceAtomically(const std::string& path, const std::string& text) {
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return false;
    const bool written = ::fchmod(fd, 0600) == 0 && writeAll(fd, text) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::string ReadSetting(const std::string& application, const std::string& section,
                        const std::string& key) {
    const std::string path = settingsFile(application);
    if (path.empty()) return "";
    const LoadedFile file = load(path);
    const std::string* value = file.document.find(section, key);
    return value ? *value : "";
}

bool WriteSetting(const std::string& application, const std::string& section,
                  const std::string& key, const std::string& value) {
    const std::string path = settingsFile(application);
    if (path.empty() || !ValidName(section) || !ValidName(key)) return false;

    std::error_code ec;
    if (std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec))
        std::filesystem::permissions(std::filesystem::path(path).parent_path(),
                                     std::filesystem::perms::owner_all, ec);
    LoadedFile file = load(path);
    if (file.exists && !file.whole) keepBackup(path);
    file.document.set(section, key, value);
    return replaceAtomically(path, SerializeIni(file.document));
}

}  // namespace gw::settings
