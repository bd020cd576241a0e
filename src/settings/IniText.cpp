#include "settings/IniText.h"

#include <algorithm>

#include "settings/ValueEscaping.h"

namespace gw::settings {
namespace {

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Where the text continues after one "[name]" heading; nullptr for a broken heading.
IniSection* openSection(IniDocument& document, std::string_view heading) {
    if (heading.size() < 2 || heading.back() != ']')
        return nullptr;
    const std::string_view name = trimBlanks(heading.substr(1, heading.size() - 2));
    if (!ValidName(name))
        return nullptr;
    return &document.sectionToWrite(name);
}

}  // namespace

std::string FoldedName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

bool ValidName(std::string_view name) {
    return !name.empty() && name == trimBlanks(name) && name.front() != ';' &&
           name.front() != '#' && std::none_of(name.begin(), name.end(), [](char c) {
               const auto byte = static_cast<unsigned char>(c);
               return byte < 0x20 || byte == 0x7F || c == '=' || c == '[' || c == ']';
           });
}

const std::string* IniSection::find(std::string_view key) const {
    const auto found = index_.find(FoldedName(key));
    return found == index_.end() ? nullptr : &entries_[found->second].value;
}

void IniSection::set(std::string_view key, std::string value) {
    const auto [place, added] = index_.try_emplace(FoldedName(key), entries_.size());
    if (added)
        entries_.push_back({std::string(key), std::move(value)});
    else
        entries_[place->second].value = std::move(value);
}

const IniSection* IniDocument::section(std::string_view name) const {
    const auto found = index_.find(FoldedName(name));
    return found == index_.end() ? nullptr : &sections_[found->second];
}

IniSection& IniDocument::sectionToWrite(std::string_view name) {
    const auto [place, added] = index_.try_emplace(FoldedName(name), sections_.size());
    if (added)
        sections_.emplace_back(std::string(name));
    return sections_[place->second];
}

const std::string* IniDocument::find(std::string_view section, std::string_view key) const {
    const IniSection* found = this->section(section);
    return found ? found->find(key) : nullptr;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    sectionToWrite(section).set(key, std::string(value));
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
        current->set(key, std::move(value));
    }
    return document;
}

std::string SerializeIni(const IniDocument& document) {
    std::string text;
    for (const IniSection& section : document.sections()) {
        if (!text.empty())
            text += '\n';
        text += '[';
        text += section.name();
        text += "]\n";
        for (const IniEntry& entry : section.entries()) {
            text += entry.key;
            text += '=';
            text += EscapeValue(entry.value);
            text += '\n';
        }
    }
    return text;
}

}  // namespace gw::settings
