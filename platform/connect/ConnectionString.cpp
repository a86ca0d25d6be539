#include "platform/ConnectionString.h"

namespace platform {
namespace {

constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

std::string_view Trim(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(kWhiteSpace);
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(kWhiteSpace) - begin + 1);
}

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameConnectKey(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    return true;
}

}  // namespace

std::vector<ConnectField> ConnectFields(std::string_view text) {
    std::vector<ConnectField> fields;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t equals = text.find('=', at);
        const std::size_t semicolon = text.find(';', at);
        if (equals == std::string_view::npos) break;
        if (semicolon < equals) {  // a word without a value, such as "ODBC"
            at = semicolon + 1;
            continue;
        }
        ConnectField field;
        field.key = Trim(text.substr(at, equals - at));
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
        fields.push_back(std::move(field));
    }
    return fields;
}

std::optional<ConnectField> FindConnectField(std::string_view text, std::string_view key) {
    for (ConnectField& field : ConnectFields(text))
        if (SameConnectKey(field.key, key)) return std::move(field);
    return std::nullopt;
}

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

}  // namespace platform
