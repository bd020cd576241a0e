#include "settings/IniText.h"

#include <algorithm>

#include "settings/ValueEscaping.h"

namespace gw::settings {
namespace {

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::vector<IniSection>::iterator findSection(std::vector<IniSection>& sections,
                                              std::string_view name) {
    return std::find_if(sections.begin(), sections.end(),
                        [&](const IniSection& s) { return SameName(s.name, name); });
}

void setEntry(IniSection& section, std::string_view key, std::string value) {
    for (IniEntry& e : section.entries) {
        if (SameName(e.key, key)) {
            e.value = std::move(value);
            return;
        }
    }
    section.entries.push_back({std::string(key), std::move(value)});
}

// Where the text continues after one "[name]" heading; nullptr for a broken heading.
IniSection* openSection(IniDocument& document, std::string_view heading) {
    if (heading.size() < 2 || heading.back() != ']')
        return nullptr;
    const std::string_view name = trimBlanks(heading.substr(1, heading.size() - 2));
    if (!ValidName(name))
        return nullptr;
    auto found = findSection(document.sections, name);
    if (found == document.sections.end())
        found = document.sections.insert(found, IniSection{std::string(name), {}});
    return &*found;
}

}  // namespace

bool ValidName(std::string_view name) {
    return !name.empty() && name == trimBlanks(name) && name.front() != ';' &&
           name.front() != '#' && std::none_of(name.begin(), name.end(), [](char c) {
               const auto byte = static_cast<unsigned char>(c);
               return byte < 0x20 || byte == 0x7F || c == '=' || c == '[' || c == ']';
           });
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

const std::string* IniDocument::find(std::string_view section, std::string_view key) const {
    for (const IniSection& s : sections) {
        if (!SameName(s.name, section))
            continue;
        for (const IniEntry& e : s.entries)
            if (SameName(e.key, key))
                return &e.value;
    }
    return nullptr;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    auto s = findSection(sections, section);
    if (s == sections.end())
        s = sections.insert(s, IniSection{std::string(section), {}});
    setEntry(*s, key, std::string(value));
}

IniDocument ParseIni(std::string_view text) {
    // Editors may put a byte order mark in front of a UTF-8 file.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    IniDocument document;
    IniSection* current = nullptr;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        const std::string_view trimmed = trimBlanks(line);
        if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#')
            continue;
        if (trimmed.front() == '[') {
            // The keys below a broken heading cannot be told apart from another section's.
            current = openSection(document, trimmed);
            if (!current)
                document.damaged = true;
            continue;
        }
        const auto equals = line.find('=');
        const std::string_view key =
            trimBlanks(line.substr(0, equals == std::string_view::npos ? 0 : equals));
        std::string value;
        if (!current || equals == std::string_view::npos || !ValidName(key) ||
            !UnescapeValue(line.substr(equals + 1), value)) {
            document.damaged = true;
            continue;
        }
        setEntry(*current, key, std::move(value));
    }
    return document;
}

std::string SerializeIni(const IniDocument& document) {
    std::string text;
    for (const IniSection& section : document.sections) {
        if (!text.empty())
            text += '\n';
        text += '[' + section.name + "]\n";
        for (const IniEntry& entry : section.entries)
            text += entry.key + '=' + EscapeValue(entry.value) + '\n';
    }
    return text;
}

}  // namespace gw::settings
