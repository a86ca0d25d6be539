#include "plugin/core/Text.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "plugin/core/VbError.h"

namespace orvanta {

std::u16string Decimal(std::int64_t value) {
    std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

std::string ToUtf8(std::u16string_view text) {
    std::string utf8;
    utf8.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        bool pair = c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
        if (pair) c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        auto put = [&](char32_t bits) { utf8 += static_cast<char>(bits); };
        if (c < 0x80) {
            put(c);
        } else if (c < 0x800) {
            put(0xC0 | (c >> 6));
            put(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            put(0xE0 | (c >> 12));
            put(0x80 | ((c >> 6) & 0x3F));
            put(0x80 | (c & 0x3F));
        } else {
            put(0xF0 | (c >> 18));
            put(0x80 | ((c >> 12) & 0x3F));
            put(0x80 | ((c >> 6) & 0x3F));
            put(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

std::u16string FromUtf8(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
        unsigned char lead = byte(i);
        std::size_t length = lead < 0x80             ? 1
                             : (lead & 0xE0) == 0xC0 ? 2
                             : (lead & 0xF0) == 0xE0 ? 3
                             : (lead & 0xF8) == 0xF0 ? 4
                                                     : 0;
        char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        bool whole = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; whole && k < length; ++k) {
            whole = (byte(i + k) & 0xC0) == 0x80;
            c = (c << 6) | (byte(i + k) & 0x3F);
        }
        if (!whole || c > 0x10FFFF) {
            wide += u'\uFFFD';
            ++i;
            continue;
        }
        i += length;
        if (c >= 0x10000) {
            wide += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            wide += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<char16_t>(c);
        }
    }
    return wide;
}

bool Contains(std::u16string_view text, std::u16string_view part) { return text.find(part) != text.npos; }

std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to) {
    if (from.empty()) return std::u16string(text);
    std::u16string result;
    std::size_t start = 0;
    for (std::size_t hit; (hit = text.find(from, start)) != text.npos; start = hit + from.size()) {
        result.append(text.substr(start, hit - start));
        result.append(to);
    }
    result.append(text.substr(start));
    return result;
}

std::vector<std::u16string> Split(std::u16string_view text, char16_t separator) {
    std::vector<std::u16string> fields;
    if (text.empty()) return fields;
    std::size_t start = 0;
    for (std::size_t hit; (hit = text.find(separator, start)) != text.npos; start = hit + 1)
        fields.emplace_back(text.substr(start, hit - start));
    fields.emplace_back(text.substr(start));
    return fields;
}

std::u16string Join(const std::vector<std::u16string>& fields, std::size_t first, std::size_t count,
                    char16_t separator) {
    std::u16string result;
    for (std::size_t i = first; i < first + count && i < fields.size(); ++i) {
        if (i != first) result += separator;
        result += fields[i];
    }
    return result;
}

std::u16string AsciiUpper(std::u16string_view text) {
    std::u16string result(text);
    for (auto& c : result)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return result;
}

std::u16string TrimBlanks(std::u16string_view text) {
    std::size_t first = text.find_first_not_of(u' ');
    if (first == text.npos) return {};
    std::size_t last = text.find_last_not_of(u' ');
    return std::u16string(text.substr(first, last - first + 1));
}

namespace {

// The longest decimal number (sign, digits, point, exponent) at the start of text, as ASCII; its length in
// consumed characters goes to used.
std::string NumberPrefix(std::u16string_view text, std::size_t& used) {
    std::string number;
    std::size_t i = 0;
    auto digitAt = [&](std::size_t k) { return k < text.size() && text[k] >= u'0' && text[k] <= u'9'; };
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) number += static_cast<char>(text[i++]);
    bool mantissa = false;
    while (digitAt(i)) number += static_cast<char>(text[i++]), mantissa = true;
    if (i < text.size() && text[i] == u'.') {
        number += '.';
        ++i;
        while (digitAt(i)) number += static_cast<char>(text[i++]), mantissa = true;
    }
    if (!mantissa) {
        used = 0;
        return {};
    }
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        std::size_t k = i + 1;
        std::string exponent = "e";
        if (k < text.size() && (text[k] == u'+' || text[k] == u'-')) exponent += static_cast<char>(text[k++]);
        if (digitAt(k)) {
            while (digitAt(k)) exponent += static_cast<char>(text[k++]);
            number += exponent;
            i = k;
        }
    }
    used = i;
    return number;
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

}  // namespace

double LeadingNumber(std::u16string_view text) {
    std::u16string compact;
    for (char16_t c : text)
        if (!IsSpace(c)) compact += c;
    std::size_t used = 0;
    std::string number = NumberPrefix(compact, used);
    if (number.empty()) return 0;
    return std::strtod(number.c_str(), nullptr);
}

double RoundHalfEven(double value) {
    double lower = std::floor(value);
    double fraction = value - lower;
    if (fraction > 0.5) return lower + 1;
    if (fraction < 0.5) return lower;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

std::int16_t TextToInt16(std::u16string_view text) {
    std::size_t start = 0, end = text.size();
    while (start < end && IsSpace(text[start])) ++start;
    while (end > start && IsSpace(text[end - 1])) --end;
    std::u16string_view body = text.substr(start, end - start);
    std::size_t used = 0;
    std::string number = NumberPrefix(body, used);
    if (number.empty() || used != body.size()) throw VbError(vb::kTypeMismatch);
    double value = RoundHalfEven(std::strtod(number.c_str(), nullptr));
    if (!(value >= -32768.0 && value <= 32767.0)) throw VbError(vb::kOverflow);
    return static_cast<std::int16_t>(value);
}

}  // namespace orvanta
