// The stand-in's INI files: what it writes reads back the same, and a file it has read and written again
// reads back as the same sections, keys and values.
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "standin/core/Ini.h"

namespace {

std::string Describe(const standin::Ini& ini) {
    std::string out;
    for (const auto& section : ini.sections) {
        out += "[" + section.name + "]";
        for (const auto& [k, v] : section.entries) out += " " + k + "=" + v + ";";
    }
    return out;
}

bool Same(const standin::Ini& a, const standin::Ini& b) {
    if (a.sections.size() != b.sections.size()) return false;
    for (std::size_t i = 0; i < a.sections.size(); ++i)
        if (a.sections[i].name != b.sections[i].name || a.sections[i].entries != b.sections[i].entries) return false;
    return true;
}

// A name or value as the stand-in writes them: on one line, without white space around it.
bool Writable(const std::string& text) {
    return text.find_first_of("\r\n") == std::string::npos && standin::Trim(text) == text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    // Read, written and read again: the same content, and writing is stable.
    const standin::Ini first = standin::Ini::Parse(text);
    const std::string written = first.Format();
    const standin::Ini second = standin::Ini::Parse(written);
    fuzz::Check(Same(first, second), "a written file reads back the same", Describe(second), Describe(first));
    fuzz::Check(second.Format() == written, "writing again gives the same text", second.Format(), written);

    // A value set by the stand-in under a section and key of its own naming reads back exactly.
    std::vector<std::string> fields = fuzz::Fields(data, size);
    if (fields.size() < 3) return 0;
    const std::string& section = fields[0];
    const std::string& key = fields[1];
    const std::string& value = fields[2];
    if (!Writable(section) || !Writable(key) || !Writable(value) || key.empty() ||
        key.find_first_of("=#;[") != std::string::npos)
        return 0;
    standin::Ini ini = first;
    ini.FindOrAdd(section).Set(key, value);
    const standin::Ini reread = standin::Ini::Parse(ini.Format());
    const standin::Ini::Section* found = reread.Find(section);
    fuzz::Check(found != nullptr, "the section is found again", Describe(reread), section);
    fuzz::Check(found->Get(key, "(missing)") == value, "the value reads back", found->Get(key, "(missing)"), value);
    return 0;
}
