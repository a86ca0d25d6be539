// ODBC connection strings: values written so that no value can add or change a key, and read back.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// One key=value of a connection string. A braced value ({...}) is taken as it is up to its closing brace, with
// "}}" for "}"; any other value runs to the next ";" and is trimmed.
struct ConnectField {
    std::string key;  // trimmed, as written
    std::string value;
    std::size_t begin = 0;  // the written value's span in the string, braces included
    std::size_t end = 0;
};

// Every field in order; words without "=" (a leading "ODBC;") are skipped.
std::vector<ConnectField> ConnectFields(std::string_view text);

// The first field of key (compared without regard to ASCII case); nullopt when the string has none.
std::optional<ConnectField> FindConnectField(std::string_view text, std::string_view key);

// The value as it stands after "Key=": as it is, or, when it holds ";", "{" or "}" or starts or ends with white
// space, in braces with every "}" doubled.
std::string ConnectValue(std::string_view value);

}  // namespace platform
