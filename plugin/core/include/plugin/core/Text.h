// UTF-16 text functions with the semantics of the VB runtime functions the plug-in relies on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvanta {

std::u16string Decimal(std::int64_t value);

bool Contains(std::u16string_view text, std::u16string_view part);
// Every occurrence, scanning from the first character; replacements are not scanned again.
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to);

// Split of VB: the empty text has no fields, otherwise there is one field more than separators.
std::vector<std::u16string> Split(std::u16string_view text, char16_t separator);
std::u16string Join(const std::vector<std::u16string>& fields, std::size_t first, std::size_t count,
                    char16_t separator);

// UTF-8, the text of the plug-in's file-system port: every UTF-16 name the file system holds goes through whole.
// A lone surrogate is kept as its three-byte form; bytes that are no UTF-8 come back as U+FFFD.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

// a-z to A-Z; everything else unchanged.
std::u16string AsciiUpper(std::u16string_view text);
// Leading and trailing blanks removed.
std::u16string TrimBlanks(std::u16string_view text);

// Val: the number at the start of the text, blanks, tabs and line ends anywhere ignored; 0 when there is none.
double LeadingNumber(std::u16string_view text);
// To the nearest integer, halves to the even neighbour.
double RoundHalfEven(double value);
// CInt of a text: the whole text (blanks around it allowed) must be a number, else "Type mismatch";
// rounded half to even; outside -32768..32767 "Overflow".
std::int16_t TextToInt16(std::u16string_view text);

}  // namespace orvanta
