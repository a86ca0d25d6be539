#include "standin/core/Ini.h"

#include <cctype>
#include <fstream>
#include <sstream>

namespace standin {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string Trim(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return std::string(text.substr(begin, end - begin));
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string Ini::Section::Get(std::string_view key, std::string_view fallback) const {
    for (const auto& [k, v] : entries)
        if (EqualsNoCase(k, key)) return v;
    return std::string(fallback);
}

void Ini::Section::Set(std::string_view key, std::string_view value) {
    for (auto& [k, v] : entries)
        if (EqualsNoCase(k, key)) {
            v = value;
            return;
        }
    entries.emplace_back(std::string(key), std::string(value));
}

Ini Ini::Parse(std::string_view text) {
    Ini ini;
    Section* current = nullptr;
    std::istringstream in{std::string(text)};
    std::string line;
    while (std::getline(in, line)) {
        std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#' || trimmed[0] == ';') continue;
        if (trimmed.front() == '[' && trimmed.back() == ']') {
            current = &ini.FindOrAdd(Trim(std::string_view(trimmed).substr(1, trimmed.size() - 2)));
            continue;
        }
        std::size_t equals = trimmed.find('=');
        if (equals == std::string::npos) continue;
        if (!current) current = &ini.FindOrAdd("");
        current->Set(Trim(std::string_view(trimmed).substr(0, equals)),
                     Trim(std::string_view(trimmed).substr(equals + 1)));
    }
    return ini;
}

Ini Ini::Load(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return Parse(text.str());
}

std::string Ini::Format() const {
    std::string out;
    for (const Section& section : sections) {
        // Entries before any section line belong to the nameless section; written first, it needs no header
        // unless it is empty, which only its header keeps.
        if (!section.name.empty() || !out.empty() || section.entries.empty()) out += "[" + section.name + "]\n";
        for (const auto& [k, v] : section.entries) out += k + " = " + v + "\n";
        out += "\n";
    }
    return out;
}

const Ini::Section* Ini::Find(std::string_view name) const {
    for (const Section& section : sections)
        if (EqualsNoCase(section.name, name)) return &section;
    return nullptr;
}

Ini::Section& Ini::FindOrAdd(std::string_view name) {
    for (Section& section : sections)
        if (EqualsNoCase(section.name, name)) return section;
    sections.push_back(Section{std::string(name), {}});
    return sections.back();
}

void Ini::Remove(std::string_view name) {
    std::erase_if(sections, [&](const Section& s) { return EqualsNoCase(s.name, name); });
}

}  // namespace standin
