#include "platform/fake/MemoryProfile.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

namespace platform::fake {
namespace {

std::string Trim(const std::string& text) {
    auto begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) return {};
    auto end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

struct Line {
    std::string text;
};

// Index of the "[section]" line, or npos.
std::size_t FindSection(const std::vector<std::string>& lines, const std::string& section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string line = Trim(lines[i]);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']' &&
            SameName(Trim(line.substr(1, line.size() - 2)), section))
            return i;
    }
    return std::string::npos;
}

bool IsSectionLine(const std::string& raw) {
    std::string line = Trim(raw);
    return !line.empty() && line.front() == '[';
}

// Index of the key line within the section starting at sectionLine, or npos.
std::size_t FindKey(const std::vector<std::string>& lines, std::size_t sectionLine, const std::string& key) {
    for (std::size_t i = sectionLine + 1; i < lines.size() && !IsSectionLine(lines[i]); ++i) {
        auto eq = lines[i].find('=');
        if (eq != std::string::npos && SameName(Trim(lines[i].substr(0, eq)), key)) return i;
    }
    return std::string::npos;
}

std::vector<std::string> SplitLines(const std::string& content) {
    std::vector<std::string> lines;
    std::istringstream in(content);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

std::string MemoryProfile::Place(const std::string& file) {
    return file.find_first_of("\\/:") == std::string::npos ? kWindowsFolder + std::string("\\") + file : file;
}

std::optional<std::string> MemoryProfile::Get(const std::string& file, const std::string& section,
                                              const std::string& key) const {
    const MemoryFileSystem::File* found = files_.Find(Place(file));
    if (!found) return std::nullopt;
    auto lines = SplitLines(found->content);
    auto s = FindSection(lines, section);
    if (s == std::string::npos) return std::nullopt;
    auto k = FindKey(lines, s, key);
    if (k == std::string::npos) return std::nullopt;
    std::string value = Trim(lines[k].substr(lines[k].find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

std::string MemoryProfile::Read(const std::string& file, const std::string& section, const std::string& key,
                                const std::string& defaultValue, std::size_t bufferSize) {
    std::string value = Get(file, section, key).value_or(defaultValue);
    if (bufferSize == 0) return {};
    if (value.size() > bufferSize - 1) value.resize(bufferSize - 1);
    return value;
}

bool MemoryProfile::Write(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& value) {
    const MemoryFileSystem::File* found = files_.Find(Place(file));
    if (found && found->readOnly) return false;
    auto lines = found ? SplitLines(found->content) : std::vector<std::string>{};
    auto s = FindSection(lines, section);
    if (s == std::string::npos) {
        lines.push_back("[" + section + "]");
        lines.push_back(key + "=" + value);
    } else if (auto k = FindKey(lines, s, key); k != std::string::npos) {
        lines[k] = key + "=" + value;
    } else {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(s) + 1, key + "=" + value);
    }
    std::string content;
    for (const auto& line : lines) content += line + "\r\n";
    return files_.WriteText(Place(file), content, WriteMode::Truncate);
}

}  // namespace platform::fake
