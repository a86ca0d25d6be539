// The plug-in's VB-style text functions: Split and Join give the text back, ReplaceAll can be undone through a
// character the text lacks, upper-casing and trimming keep what they should, and numbers read back from their
// decimal text and agree between Val and CInt.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "plugin/core/Text.h"
#include "plugin/core/VbError.h"

namespace {

using namespace orvanta;

std::u16string Wide(const std::string& bytes) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text +=
            static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (bytes.size() % 2) text += static_cast<char16_t>(static_cast<unsigned char>(bytes.back()));
    return text;
}

std::string Narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

void SplitAndJoin(const std::u16string& text, char16_t separator) {
    std::vector<std::u16string> fields = Split(text, separator);
    const std::size_t separators = static_cast<std::size_t>(std::count(text.begin(), text.end(), separator));
    fuzz::Check(fields.size() == (text.empty() ? 0 : separators + 1), "one field more than separators", Narrow(text));
    fuzz::Check(Join(fields, 0, fields.size(), separator) == text, "Join undoes Split", Narrow(text));
}

void ReplaceAndUndo(const std::u16string& text, const std::u16string& from) {
    if (from.empty()) {
        fuzz::Check(ReplaceAll(text, from, u"x") == text, "replacing nothing changes nothing", Narrow(text));
        return;
    }
    char16_t marker = 0xFFFF;
    while (text.find(marker) != text.npos || from.find(marker) != from.npos) --marker;
    const std::u16string marked = ReplaceAll(text, from, std::u16string(1, marker));
    fuzz::Check(marked.find(from) == marked.npos, "no occurrence is left", Narrow(marked));
    fuzz::Check(ReplaceAll(marked, std::u16string(1, marker), from) == text, "a replacement can be undone",
                Narrow(text), Narrow(from));
}

void CaseAndBlanks(const std::u16string& text) {
    const std::u16string upper = AsciiUpper(text);
    fuzz::Check(upper.size() == text.size(), "upper-casing keeps the length", Narrow(upper));
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const char16_t expected = c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
        fuzz::Check(upper[i] == expected, "only a to z change", Narrow(upper), Narrow(text));
    }
    const std::u16string trimmed = TrimBlanks(text);
    fuzz::Check(text.find(trimmed) != text.npos, "trimming keeps a part of the text", Narrow(trimmed));
    fuzz::Check(trimmed.empty() || (trimmed.front() != u' ' && trimmed.back() != u' '), "no blank is left at the ends",
                Narrow(trimmed));
    fuzz::Check(TrimBlanks(u"  " + trimmed + u" ") == trimmed, "trimming is stable", Narrow(trimmed));
}

void Numbers(const std::u16string& text, std::int64_t value) {
    fuzz::Check(LeadingNumber(Decimal(value)) == static_cast<double>(value), "Val reads a decimal text",
                Narrow(Decimal(value)));
    const std::int16_t small = static_cast<std::int16_t>(value);
    fuzz::Check(TextToInt16(u" " + Decimal(small) + u"\t") == small, "CInt reads a decimal text",
                Narrow(Decimal(small)));
    try {
        const std::int16_t whole = TextToInt16(text);
        // Val reads the same number from a text that CInt takes whole.
        fuzz::Check(RoundHalfEven(LeadingNumber(text)) == whole, "Val and CInt agree", Narrow(text));
    } catch (const VbError& e) {
        fuzz::Check(e.Number() == vb::kTypeMismatch || e.Number() == vb::kOverflow, "CInt fails as VB does",
                    Narrow(text));
    }
    const double rounded = RoundHalfEven(LeadingNumber(text));
    fuzz::Check(std::isnan(rounded) || std::isinf(rounded) || rounded == std::floor(rounded),
                "rounding gives a whole number", Narrow(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 10) return 0;
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits = bits << 8 | data[i];
    // Within 2^53, so exact as a double.
    const std::int64_t value = static_cast<std::int64_t>(bits % (std::uint64_t{1} << 54)) - (std::int64_t{1} << 53);
    const char16_t separator = static_cast<char16_t>(data[8]);
    const std::size_t split = std::min<std::size_t>(data[9], size - 10);
    const std::u16string from = Wide(std::string(reinterpret_cast<const char*>(data) + 10, split / 2 * 2));
    const std::u16string text =
        Wide(std::string(reinterpret_cast<const char*>(data) + 10 + split / 2 * 2, size - 10 - split / 2 * 2));
    SplitAndJoin(text, separator);
    ReplaceAndUndo(text, from);
    CaseAndBlanks(text);
    Numbers(text, value);
    return 0;
}
