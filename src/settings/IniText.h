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

// The settings of one application as the file holds them, in file order.
struct IniDocument {
    std::vector<IniSection> sections;
    bool damaged = false;  // some line could not be understood and was left out

    const std::string* find(std::string_view section, std::string_view key) const;
    void set(std::string_view section, std::string_view key, std::string_view value);
};

// Names match without regard to (ASCII) letter case.
bool SameName(std::string_view a, std::string_view b);

// Whether a section or key name can stand on its line of the file.
bool ValidName(std::string_view name);

IniDocument ParseIni(std::string_view text);
std::string SerializeIni(const IniDocument& document);

// Values are kept on one line and round-trip exactly: control bytes, the backslash and blanks
// at either end are written as escapes; every other byte stands for itself.
std::string EscapeValue(std::string_view value);
bool UnescapeValue(std::string_view text, std::string& value);

}  // namespace gw::settings
