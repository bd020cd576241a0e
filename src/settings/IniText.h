#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gw::settings {

struct IniEntry {
    std::string key;
    std::string value;
};

struct IniSection {
    std::string name;
    std::vector<IniEntry> entries;
};

// The settings of one application as its file holds them, in file order.
struct IniDocument {
    std::vector<IniSection> sections;
    bool damaged = false;  // some line could not be understood and was left out

    const std::string* find(std::string_view section, std::string_view key) const;
    void set(std::string_view section, std::string_view key, std::string_view value);
};

// Names match without regard to (ASCII) letter case.
bool SameName(std::string_view a, std::string_view b);

// Whether a section or key name can stand on its line of the file and be read back as itself.
bool ValidName(std::string_view name);

// Blank lines and lines starting with ";" or "#" are comments. A line that cannot be
// understood costs only its own key (a broken section heading, the keys below it up to the
// next heading) and marks the document damaged.
IniDocument ParseIni(std::string_view text);
std::string SerializeIni(const IniDocument& document);

}  // namespace gw::settings
