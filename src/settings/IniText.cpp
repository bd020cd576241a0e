#include "settings/IniText.h"

#include <algorithm>

namespace gw::settings {
namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

bool ValidName(std::string_view name) {
    return !name.empty() && name == trimBlanks(name) &&
           std::none_of(name.begin(), name.end(), [](char c) {
               return static_cast<unsigned char>(c) < 0x20 || c == '=' || c == '[' || c == ']';
           });
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

const std::string* IniDocument::find(std::string_view section, std::string_view key) const {
    for (const IniSection& s : sections) {
        if (!SameName(s.name, section)) continue;
        for (const IniEntry& e : s.entries)
            if (SameName(e.key, key)) return &e.value;
    }
    return nullptr;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    auto s = std::find_if(sections.begin(), sections.end(),
                          [&](const IniSection& each) { return SameName(each.name, section); });
    if (s == sections.end()) s = sections.insert(sections.end(), IniSection{std::string(section), {}});
    for (IniEntry& e : s->entries) {
        if (SameName(e.key, key)) {
            e.value = value;
            return;
        }
    }
    s->entries.push_back({std::string(key), std::string(value)});
}

std::string EscapeValue(std::string_view value) {
    static const char hex[] = "0123456789ABCDEF";
    const auto first = value.find_first_not_of(' ');
    const auto last = value.find_last_not_of(' ');
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto byte = static_cast<unsigned char>(value[i]);
        const bool edgeBlank = byte == ' ' && (first == std::string_view::npos || i < first || i > last);
        if (byte == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte == 0x7F || edgeBlank) {
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        } else {
            out += value[i];
        }
    }
    return out;
}

bool UnescapeValue(std::string_view text, std::string& value) {
    value.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            value += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '\\') {
            value += '\\';
            ++i;
            continue;
        }
        if (i + 3 >= text.size() || text[i + 1] != 'x') return false;
        const int high = hexDigit(text[i + 2]);
        const int low = hexDigit(text[i + 3]);
        if (high < 0 || low < 0) return false;
        value += static_cast<char>(high * 16 + low);
        i += 3;
    }
    return true;
}

IniDocument ParseIni(std::string_view text) {
    IniDocument document;
    IniSection* current = nullptr;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        const std::string_view trimmed = trimBlanks(line);
        if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') continue;
        if (trimmed.front() == '[') {
            const std::string_view name = trimmed.substr(1, trimmed.size() - 1);
            if (trimmed.back() != ']' || !ValidName(name.substr(0, name.size() - 1))) {
                document.damaged = true;
                current = nullptr;  // its keys cannot be told apart from another section's
                continue;
            }
            const std::string sectionName(name.substr(0, name.size() - 1));
            auto found = std::find_if(document.sections.begin(), document.sections.end(),
                                      [&](const IniSection& s) { return SameName(s.name, sectionName); });
            if (found == document.sections.end())
                found = document.sections.insert(document.sections.end(), IniSection{sectionName, {}});
            current = &*found;
            continue;
        }
        const auto equals = line.find('=');
        std::string value;
        if (!current || equals == std::string_view::npos ||
            !ValidName(trimBlanks(line.substr(0, equals))) ||
            !UnescapeValue(line.substr(equals + 1), value)) {
            document.damaged = true;
            continue;
        }
        const std::string_view key = trimBlanks(line.substr(0, equals));
        bool replaced = false;
        for (IniEntry& e : current->entries) {
            if (SameName(e.key, key)) {
                e.value = value;
                replaced = true;
            }
        }
        if (!replaced) current->entries.push_back({std::string(key), std::move(value)});
    }
    return document;
}

std::string SerializeIni(const IniDocument& document) {
    std::string text;
    for (const IniSection& section : document.sections) {
        if (!text.empty()) text += '\n';
        text += '[' + section.name + "]\n";
        for (const IniEntry& entry : section.entries)
            text += entry.key + '=' + EscapeValue(entry.value) + '\n';
    }
    return text;
}

}  // namespace gw::settings
