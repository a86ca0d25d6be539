// Single-byte text functions of the tool.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace enrolix {

// printf-style formatting into a text of any length.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Removes white space (blank, tab, line breaks, vertical tab, form feed) from both ends.
std::string Trim(std::string_view text);

// Upper-cases the letters A to Z only, as the C locale does; other bytes are kept.
std::string UpperAscii(std::string_view text);

// Equal when compared without regard to the case of A to Z.
bool EqualsNoCase(std::string_view a, std::string_view b);

// Replaces every occurrence of what (not empty) by with; returns whether anything was replaced.
bool ReplaceAll(std::string& text, std::string_view what, std::string_view with);

// The leading decimal integer of text (blanks and a sign allowed before it); 0 when there is none.
// Values beyond the 64-bit range are clamped.
std::int64_t LeadingInteger(std::string_view text);

}  // namespace enrolix
