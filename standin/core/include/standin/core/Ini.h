// A small INI reader and writer: "[section]" lines, "key = value" lines, "#" or ";" comments.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace standin {

bool EqualsNoCase(std::string_view a, std::string_view b);
std::string Trim(std::string_view text);
std::string Lower(std::string_view text);

class Ini {
public:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
        // The value of key (case-insensitive), or fallback.
        std::string Get(std::string_view key, std::string_view fallback = {}) const;
        void Set(std::string_view key, std::string_view value);
    };

    static Ini Parse(std::string_view text);
    // An empty Ini when the file does not exist.
    static Ini Load(const std::filesystem::path& file);
    std::string Format() const;

    const Section* Find(std::string_view name) const;
    Section& FindOrAdd(std::string_view name);
    void Remove(std::string_view name);

    std::vector<Section> sections;  // entries before any section line go to a section named ""
};

}  // namespace standin
