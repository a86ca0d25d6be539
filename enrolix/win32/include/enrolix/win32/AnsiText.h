// Single-byte text in the system's ANSI code page.
#pragma once

#include <string>
#include <string_view>

namespace enrolix::win32 {

// Upper case of every letter of the ANSI code page (CharUpperBuffA), as the database's UPPER() sees them.
std::string UpperCaseAnsi(std::string_view text);

}  // namespace enrolix::win32
