#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/NameIndex.h"

namespace gw::settings {

struct IniEntry {
    std::string key;
    std::string value;
};

// The keys of one section in file order.
class IniSection {
  public:
    explicit IniSection(std::string name = {}) : name_(std::move(name)) {}

    const std::string& name() const { return name_; }
    const std::vector<IniEntry>& entries() const { return entries_; }
    const std::string* find(std::string_view key) const;
    // A key already there keeps its place and its spelling; a new one goes last.
    void set(std::string_view key, std::string value);

  private:
    std::string name_;
    std::vector<IniEntry> entries_;
    NameIndex index_;
};

// The settings of one application as its file holds them, in file order. A section that
// appears twice in the file is one section here, at its first place.
class IniDocument {
  public:
    const std::vector<IniSection>& sections() const { return sections_; }
    const IniSection* section(std::string_view name) const;
    // The section, added last when the document has none of that name.
    IniSection& sectionToWrite(std::string_view name);
    const std::string* find(std::string_view section, std::string_view key) const;
    void set(std::string_view section, std::string_view key, std::string_view value);

    bool damaged = false;  // some line could not be understood and was left out

  private:
    std::vector<IniSection> sections_;
    NameIndex index_;
};

// Whether a section or key name can stand on its line of the file and be read back as itself.
bool ValidName(std::string_view name);

// Blank lines and lines starting with ";" or "#" are comments. A line that cannot be
// understood costs only its own key (a broken section heading, the keys below it up to the
// next heading) and marks the document damaged.
IniDocument ParseIni(std::string_view text);
// Only the keys of one section (named as asked), for a read that needs no more: the rest of
// the text is walked line by line and nothing else is kept.
IniSection ParseIniSection(std::string_view text, std::string_view name);
std::string SerializeIni(const IniDocument& document);

}  // namespace gw::settings
