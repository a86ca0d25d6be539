// ODBC connection strings: values written so that no value can add or change a key, and read back.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace enrolix {

// The value as it stands after "Key=": as it is, or, when it holds ";", "{" or "}" or starts or ends with white
// space, in braces with every "}" doubled.
std::string ConnectValue(std::string_view value);

// One key's value in a connection string: the value with its braces undone, and where its written form stands.
struct ConnectField {
    std::string value;
    std::size_t begin = 0;  // the written value's span in the string, braces included
    std::size_t end = 0;
};

// The first field of key (compared without regard to case); nullopt when the string has none.
std::optional<ConnectField> FindConnectField(std::string_view text, std::string_view key);

}  // namespace enrolix
