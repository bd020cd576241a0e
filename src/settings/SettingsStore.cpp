#include "settings/SettingsStore.h"

#include <algorithm>

#include "platform/Folders.h"
#include "platform/PrivateFolder.h"
#include "platform/UserFolders.h"
#include "platform/WholeFile.h"
#include "settings/AtomicFile.h"
#include "settings/IniText.h"

namespace gw::settings {
namespace {

// "" when the application name cannot name a file in the configuration folder.
std::string settingsFile(const std::string& application) {
    const std::string folder = platform::ConfigFolder();
    if (folder.empty() || application.empty() ||
        application.find_first_of(std::string("/\0", 2)) != std::string::npos)
        return "";
    std::string name;
    for (char c : application)
        name += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    // A settings file kept elsewhere behind a symbolic link (a dotfiles folder) stays there.
    return platform::FollowedLink(folder + "/" + name + ".ini");
}

}  // namespace

IniSection ReadSection(const std::string& application, const std::string& section) {
    const std::string path = settingsFile(application);
    if (path.empty())
        return IniSection(section);
    return ParseIniSection(platform::ReadWholeFile(path).bytes, section);
}

std::string ReadSetting(const std::string& application, const std::string& section,
                        const std::string& key) {
    const IniSection found = ReadSection(application, section);
    const std::string* value = found.find(key);
    return value ? *value : "";
}

bool WriteSettings(const std::string& application, const std::string& section,
                   const SettingValues& values) {
    const std::string path = settingsFile(application);
    if (path.empty() || !ValidName(section) ||
        !std::all_of(values.begin(), values.end(),
                     [](const auto& v) { return ValidName(v.first); }))
        return false;
    if (values.empty())
        return true;
    // Made owner-only, with its parents, when missing; one that belongs to another user, who
    // could swap the file, is refused.
    if (platform::OwnPrivateFolder(path.substr(0, path.rfind('/'))).empty())
        return false;

    const platform::FileBytes file = platform::ReadWholeFile(path);
    if (file.kind == platform::FileKind::Other)
        return false;
    IniDocument document = ParseIni(file.bytes);
    // What was not read whole is kept before it is replaced, so that one bad line never costs
    // the rest; without that copy the file is left as it is.
    if (file.kind == platform::FileKind::Regular && (!file.complete || document.damaged) &&
        !platform::KeepCopy(path, path + ".bak"))
        return false;
    IniSection& target = document.sectionToWrite(section);
    for (const auto& [key, value] : values)
        target.set(key, value);
    return ReplaceFile(path, SerializeIni(document));
}

bool WriteSetting(const std::string& application, const std::string& section,
                  const std::string& key, const std::string& value) {
    return WriteSettings(application, section, {{key, value}});
}

}  // namespace gw::settings
