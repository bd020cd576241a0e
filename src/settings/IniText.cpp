#include "settings/IniText.h"

#include <algorithm>
#include <optional>

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

// The name in a "[name]" heading; none for a broken heading.
std::optional<std::string_view> headingName(std::string_view heading) {
    if (heading.size() < 2 || heading.back() != ']')
        return std::nullopt;
    const std::string_view name = trimBlanks(heading.substr(1, heading.size() - 2));
    if (!ValidName(name))
        return std::nullopt;
    return name;
}

// Calls onHeading with each heading's name (none for a broken heading) and onKeyLine with
// every other line that is neither blank nor a comment, in file order.
template <class OnHeading, class OnKeyLine>
void walkLines(std::string_view text, OnHeading onHeading, OnKeyLine onKeyLine) {
    // Editors may put a byte order mark in front of a UTF-8 file.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        const std::string_view trimmed = trimBlanks(line);
        if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#')
            continue;
        if (trimmed.front() == '[')
            onHeading(headingName(trimmed));
        else
            onKeyLine(line);
    }
}

bool parseKeyLine(std::string_view line, std::string_view& key, std::string& value) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return false;
    key = trimBlanks(line.substr(0, equals));
    return ValidName(key) && UnescapeValue(line.substr(equals + 1), value);
}

}  // namespace

bool ValidName(std::string_view name) {
    return !name.empty() && name == trimBlanks(name) && name.front() != ';' &&
           name.front() != '#' && std::none_of(name.begin(), name.end(), [](char c) {
               const auto byte = static_cast<unsigned char>(c);
               return byte < 0x20 || byte == 0x7F || c == '=' || c == '[' || c == ']';
           });
}

const std::string* IniSection::find(std::string_view key) const {
    const std::size_t at =
        index_.find(key, [this](std::size_t i) -> std::string_view { return entries_[i].key; });
    return at == NameIndex::npos ? nullptr : &entries_[at].value;
}

void IniSection::set(std::string_view key, std::string value) {
    const std::size_t at =
        index_.find(key, [this](std::size_t i) -> std::string_view { return entries_[i].key; });
    if (at != NameIndex::npos) {
        entries_[at].value = std::move(value);
        return;
    }
    entries_.push_back({std::string(key), std::move(value)});
    index_.add(entries_.size() - 1, key);
}

const IniSection* IniDocument::section(std::string_view name) const {
    const std::size_t at = index_.find(
        name, [this](std::size_t i) -> std::string_view { return sections_[i].name(); });
    return at == NameIndex::npos ? nullptr : &sections_[at];
}

IniSection& IniDocument::sectionToWrite(std::string_view name) {
    const std::size_t at = index_.find(
        name, [this](std::size_t i) -> std::string_view { return sections_[i].name(); });
    if (at != NameIndex::npos)
        return sections_[at];
    sections_.emplace_back(std::string(name));
    index_.add(sections_.size() - 1, name);
    return sections_.back();
}

const std::string* IniDocument::find(std::string_view section, std::string_view key) const {
    const IniSection* found = this->section(section);
    return found ? found->find(key) : nullptr;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    sectionToWrite(section).set(key, std::string(value));
}

IniDocument ParseIni(std::string_view text) {
    IniDocument document;
    IniSection* current = nullptr;
    walkLines(
        text,
        [&](std::optional<std::string_view> name) {
            // The keys below a broken heading cannot be told apart from another section's.
            current = name ? &document.sectionToWrite(*name) : nullptr;
            if (!name)
                document.damaged = true;
        },
        [&](std::string_view line) {
            std::string_view key;
            std::string value;
            if (current && parseKeyLine(line, key, value))
                current->set(key, std::move(value));
            else
                document.damaged = true;
        });
    return document;
}

IniSection ParseIniSection(std::string_view text, std::string_view name) {
    IniSection section{std::string(name)};
    bool inside = false;
    walkLines(
        text,
        [&](std::optional<std::string_view> heading) {
            inside = heading && SameName(*heading, name);
        },
        [&](std::string_view line) {
            std::string_view key;
            std::string value;
            if (inside && parseKeyLine(line, key, value))
                section.set(key, std::move(value));
        });
    return section;
}

std::string SerializeIni(const IniDocument& document) {
    std::size_t size = 0;
    for (const IniSection& section : document.sections())
        for (const IniEntry& entry : section.entries())
            size += entry.key.size() + entry.value.size() + 2;
    std::string text;
    text.reserve(size + size / 8);
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
