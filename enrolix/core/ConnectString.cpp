#include "enrolix/core/ConnectString.h"

#include "enrolix/core/Text.h"

namespace enrolix {

std::string ConnectValue(std::string_view value) {
    // White space at an end is braced too: unbraced, readers trim it.
    if (value.find_first_of(";{}") == std::string_view::npos && Trim(value) == value) return std::string(value);
    std::string braced = "{";
    for (char c : value) {
        braced += c;
        if (c == '}') braced += '}';
    }
    return braced + "}";
}

std::optional<ConnectField> FindConnectField(std::string_view text, std::string_view key) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t equals = text.find('=', at);
        const std::size_t semicolon = text.find(';', at);
        if (equals == std::string_view::npos) break;
        if (semicolon < equals) {  // a word without a value, such as "ODBC"
            at = semicolon + 1;
            continue;
        }
        const bool wanted = EqualsNoCase(Trim(text.substr(at, equals - at)), key);
        ConnectField field;
        std::size_t v = equals + 1;
        while (v < text.size() && text[v] == ' ') ++v;
        field.begin = v;
        if (v < text.size() && text[v] == '{') {
            for (++v; v < text.size(); ++v) {
                if (text[v] != '}') {
                    field.value += text[v];
                } else if (v + 1 < text.size() && text[v + 1] == '}') {
                    field.value += '}';
                    ++v;
                } else {
                    ++v;
                    break;
                }
            }
            field.end = v;
            const std::size_t next = text.find(';', v);
            at = next == std::string_view::npos ? text.size() : next + 1;
        } else {
            const std::size_t next = text.find(';', v);
            field.end = next == std::string_view::npos ? text.size() : next;
            field.value = Trim(text.substr(v, field.end - v));
            at = field.end + 1;
        }
        if (wanted) return field;
    }
    return std::nullopt;
}

}  // namespace enrolix
