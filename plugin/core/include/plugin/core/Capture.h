// The pieces of the capture that stand on their own: the registration program's command line and the date.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/core/VbError.h"

namespace orvanta {

// One argument of a Windows command line, so that the C runtime's splitting gives back exactly text: wrapped in
// double quotes, a double quote written as \", backslashes doubled where they stand before a double quote. Works
// on whole characters: on UTF-16 text, a character of a double-byte code page never counts as a backslash.
template <class Char>
std::basic_string<Char> Quote(std::basic_string_view<Char> text);
inline std::u16string Quote(std::u16string_view text) { return Quote<char16_t>(text); }
inline std::string Quote(std::string_view text) { return Quote<char>(text); }

// The arguments joined by single blanks, each quoted.
template <class Char>
std::basic_string<Char> CommandLine(const std::vector<std::basic_string<Char>>& arguments);

// "mm/dd/yyyy" with separator in place of "/".
std::u16string CaptureDateText(const std::tm& now, std::u16string_view separator);

// The error for a program the shell could not start (a result of 32 or less): a description naming the program
// and what the shell answered, e.g. "Access denied (5)", under the nearest runtime error number.
VbError ShellStartError(std::u16string_view program, std::intptr_t shellResult);

// EquipProgPathFName up to and including its last backslash; empty when it has none.
std::u16string ProgramFolder(std::u16string_view program);

}  // namespace orvanta
