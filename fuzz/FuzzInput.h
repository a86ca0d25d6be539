// Helpers shared by the fuzz harnesses: turning the fuzzer's bytes into fields, and failing a property.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// The input as text, cut into fields at every separator byte.
inline std::vector<std::string> Fields(const std::uint8_t* data, std::size_t size, char separator = '\0') {
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < size; ++i) {
        char c = static_cast<char>(data[i]);
        if (c == separator)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

inline std::string Printable(std::string_view text) {
    std::string out;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7f && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            out += escaped;
        }
    }
    return out;
}

// A broken property: says which, with the texts involved, and stops the run so the input is kept.
[[noreturn]] inline void Fail(const char* property, std::string_view got = {}, std::string_view expected = {}) {
    std::fprintf(stderr, "property broken: %s\n  got:      \"%s\"\n  expected: \"%s\"\n", property,
                 Printable(got).c_str(), Printable(expected).c_str());
    std::abort();
}

inline void Check(bool holds, const char* property, std::string_view got = {}, std::string_view expected = {}) {
    if (!holds) Fail(property, got, expected);
}

}  // namespace fuzz
