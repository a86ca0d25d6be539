// Values quoted for the tool's N'...' literals: read back by SQL's rules the literal is exactly the value,
// and it ends where the statement's text expects it to, so nothing of the value is read as SQL.
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "enrolix/core/SqlText.h"

namespace {

// Reads the N'...' literal at the start of text; returns its value and sets rest to what follows it.
bool ReadLiteral(const std::string& text, std::string& value, std::string& rest) {
    if (text.compare(0, 2, "N'") != 0) return false;
    value.clear();
    for (std::size_t i = 2; i < text.size(); ++i) {
        if (text[i] != '\'') {
            value += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '\'') {
            value += '\'';
            ++i;
        } else {
            rest = text.substr(i + 1);
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string value(reinterpret_cast<const char*>(data), size);
    const std::string quoted = enrolix::SqlText(value);
    const std::string statement = "N'" + quoted + "' AND DOB=N'x'";
    std::string read, rest;
    fuzz::Check(ReadLiteral(statement, read, rest), "the literal is closed", statement);
    fuzz::Check(read == value, "the literal reads back as the value", read, value);
    fuzz::Check(rest == " AND DOB=N'x'", "the statement goes on after the literal", rest, " AND DOB=N'x'");
    return 0;
}
