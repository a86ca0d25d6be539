#include "standin/core/AnsiText.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>

namespace standin {
namespace {

// Upper and lower case of every byte: A-Z, the accented letters C0-DE (but D7) and Š Œ Ž Ÿ. ß, µ, ª and º
// have no capital in the code page and stay as they are.
struct CaseTables {
    std::array<unsigned char, 256> upper{}, lower{};
    CaseTables() {
        for (int c = 0; c < 256; ++c) upper[c] = lower[c] = static_cast<unsigned char>(c);
        auto pair = [&](int capital, int small) {
            upper[small] = static_cast<unsigned char>(capital);
            lower[capital] = static_cast<unsigned char>(small);
        };
        for (int c = 'A'; c <= 'Z'; ++c) pair(c, c + 0x20);
        for (int c = 0xC0; c <= 0xDE; ++c)
            if (c != 0xD7) pair(c, c + 0x20);
        pair(0x8A, 0x9A);  // Š š
        pair(0x8C, 0x9C);  // Œ œ
        pair(0x8E, 0x9E);  // Ž ž
        pair(0x9F, 0xFF);  // Ÿ ÿ
    }
};

const CaseTables& Tables() {
    static const CaseTables tables;
    return tables;
}

unsigned char Fold(char c) { return Tables().upper[static_cast<unsigned char>(c)]; }

std::string_view TextArgument(sqlite3_value* value) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return text ? std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(value))) : std::string_view();
}

template <std::string (*Change)(std::string_view)>
void CaseFunction(sqlite3_context* context, int, sqlite3_value** values) {
    if (sqlite3_value_type(values[0]) == SQLITE_NULL) return sqlite3_result_null(context);
    std::string changed = Change(TextArgument(values[0]));
    sqlite3_result_text(context, changed.data(), static_cast<int>(changed.size()), SQLITE_TRANSIENT);
}

// The set that starts at pattern[at] ("[" included) against c; the index after its "]", or npos when the "["
// opens no set and stands for itself.
std::size_t MatchSet(std::string_view pattern, std::size_t at, char c, bool& matched) {
    std::size_t i = at + 1;
    const bool negated = i < pattern.size() && pattern[i] == '^';
    if (negated) ++i;
    const std::size_t close = pattern.find(']', i + 1);
    if (i >= pattern.size() || close == std::string_view::npos) return std::string_view::npos;
    bool inside = false;
    for (; i < close; ++i) {
        if (i + 2 < close && pattern[i + 1] == '-') {
            inside = inside || (Fold(pattern[i]) <= Fold(c) && Fold(c) <= Fold(pattern[i + 2]));
            i += 2;
        } else {
            inside = inside || Fold(pattern[i]) == Fold(c);
        }
    }
    matched = inside != negated;
    return close + 1;
}

void LikeFunction(sqlite3_context* context, int count, sqlite3_value** values) {
    for (int i = 0; i < count; ++i)
        if (sqlite3_value_type(values[i]) == SQLITE_NULL) return sqlite3_result_null(context);
    int escape = -1;
    if (count == 3) {
        std::string_view text = TextArgument(values[2]);
        if (text.size() != 1) return sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
        escape = static_cast<unsigned char>(text[0]);
    }
    sqlite3_result_int(context, LikeNoCaseAnsi(TextArgument(values[0]), TextArgument(values[1]), escape) ? 1 : 0);
}

int NoCaseCollation(void*, int lengthA, const void* a, int lengthB, const void* b) {
    return CompareNoCaseAnsi(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(lengthA)),
                             std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(lengthB)));
}

}  // namespace

char UpperAnsi(char c) { return static_cast<char>(Fold(c)); }
char LowerAnsi(char c) { return static_cast<char>(Tables().lower[static_cast<unsigned char>(c)]); }

std::string UpperAnsi(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = UpperAnsi(c);
    return out;
}

std::string LowerAnsi(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = LowerAnsi(c);
    return out;
}

int CompareNoCaseAnsi(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i)
        if (Fold(a[i]) != Fold(b[i])) return Fold(a[i]) < Fold(b[i]) ? -1 : 1;
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

bool GlobNoCaseAnsi(std::string_view pattern, std::string_view text) {
    // Greedy match with one backtrack point at the last "*".
    std::size_t p = 0, t = 0, star = std::string_view::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (p < pattern.size() && (pattern[p] == '?' || Fold(pattern[p]) == Fold(text[t]))) {
            ++p;
            ++t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool LikeNoCaseAnsi(std::string_view pattern, std::string_view text, int escape) {
    std::size_t p = 0, t = 0;
    while (p < pattern.size()) {
        const char c = pattern[p];
        if (escape >= 0 && static_cast<unsigned char>(c) == escape && p + 1 < pattern.size()) {
            if (t >= text.size() || Fold(pattern[p + 1]) != Fold(text[t])) return false;
            p += 2;
            ++t;
        } else if (c == '%') {
            while (p < pattern.size() && pattern[p] == '%') ++p;
            for (std::size_t from = t; from <= text.size(); ++from)
                if (LikeNoCaseAnsi(pattern.substr(p), text.substr(from), escape)) return true;
            return false;
        } else if (t >= text.size()) {
            return false;
        } else if (c == '_') {
            ++p;
            ++t;
        } else {
            bool matched = false;
            const std::size_t next = c == '[' ? MatchSet(pattern, p, text[t], matched) : std::string_view::npos;
            if (next == std::string_view::npos) {
                matched = Fold(c) == Fold(text[t]);
                p += 1;
            } else {
                p = next;
            }
            if (!matched) return false;
            ++t;
        }
    }
    return t == text.size();
}

void UseAnsiCase(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "upper", 1, flags, nullptr, CaseFunction<UpperAnsi>, nullptr, nullptr);
    sqlite3_create_function(db, "lower", 1, flags, nullptr, CaseFunction<LowerAnsi>, nullptr, nullptr);
    sqlite3_create_function(db, "like", 2, flags, nullptr, LikeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, flags, nullptr, LikeFunction, nullptr, nullptr);
    sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, nullptr, NoCaseCollation);
}

}  // namespace standin
