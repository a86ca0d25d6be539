// The C runtime's splitting of a Windows command line into arguments, portable so that native code (the fuzz
// harnesses) can check what a Windows program will receive.
#pragma once

#include <string>
#include <vector>

namespace tools {

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

inline const char* SkipBlanks(const char* p) {
    while (IsBlank(*p)) ++p;
    return p;
}

// The program name at the start of a command line: within its quotes, taken literally, or up to the first
// blank. Returns where the arguments start; name receives the name.
inline const char* ReadProgramName(const char* p, std::string* name = nullptr) {
    const char* start = p;
    const char* end;
    if (*p == '"') {
        start = ++p;
        while (*p && *p != '"') ++p;
        end = p;
        if (*p == '"') ++p;
    } else {
        while (*p && !IsBlank(*p)) ++p;
        end = p;
    }
    if (name) name->assign(start, end);
    return SkipBlanks(p);
}

// One argument by the C runtime's rules: 2n backslashes and a quote give n backslashes and toggle
// quoting, 2n+1 give n and a literal quote, "" inside quotes is a literal quote; other backslashes stay.
inline std::string NextArgument(const char*& p) {
    std::string argument;
    bool quoted = false;
    while (*p && (quoted || !IsBlank(*p))) {
        if (*p == '\\') {
            std::size_t slashes = 0;
            while (*p == '\\') {
                ++slashes;
                ++p;
            }
            if (*p == '"') {
                argument.append(slashes / 2, '\\');
                if (slashes % 2 == 1) {
                    argument += '"';
                    ++p;
                }
            } else {
                argument.append(slashes, '\\');
            }
        } else if (*p == '"') {
            if (quoted && p[1] == '"') {
                argument += '"';
                p += 2;
            } else {
                quoted = !quoted;
                ++p;
            }
        } else {
            argument += *p++;
        }
    }
    p = SkipBlanks(p);
    return argument;
}

// argv as the program receives it: the program name, then every argument.
inline std::vector<std::string> SplitCommandLine(const char* commandLine) {
    std::vector<std::string> argv(1);
    const char* p = ReadProgramName(commandLine, &argv[0]);
    while (*p) argv.push_back(NextArgument(p));
    return argv;
}

}  // namespace tools
