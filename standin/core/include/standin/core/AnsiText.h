// Text in the Windows-1252 code page, compared and upper-cased the way SQL Server's default collation does:
// every letter of the code page has its case folded, accented ones included.
#pragma once

#include <string>
#include <string_view>

struct sqlite3;

namespace standin {

char UpperAnsi(char c);
char LowerAnsi(char c);
std::string UpperAnsi(std::string_view text);
std::string LowerAnsi(std::string_view text);

// <0, 0 or >0, as the two texts compare with their letters' case folded.
int CompareNoCaseAnsi(std::string_view a, std::string_view b);

// True when text matches pattern as a whole: "*" stands for any run of characters, "?" for one; case folded.
bool GlobNoCaseAnsi(std::string_view pattern, std::string_view text);

// T-SQL's LIKE with the case folded: "%" any run, "_" one character, [abc], [a-f] and [^abc] one of a set or
// not; the escape character (none when negative) makes the next character stand for itself.
bool LikeNoCaseAnsi(std::string_view pattern, std::string_view text, int escape = -1);

// Makes UPPER(), LOWER(), LIKE and the NOCASE collation of a connection follow the code page.
void UseAnsiCase(sqlite3* db);

}  // namespace standin
