#include <gtest/gtest.h>

#include "plugin/core/OrvantaObject.h"
#include "plugin/core/Text.h"
#include "plugin/core/Trap.h"
#include "plugin/core/VbError.h"
#include "plugin/testing/ErrorOf.h"

namespace orvanta {
namespace {

using test::ErrorOf;

TEST(Text, SplitCountsFieldsLikeVb) {
    EXPECT_TRUE(Split(u"", u':').empty());
    EXPECT_EQ(Split(u":", u':'), (std::vector<std::u16string>{u"", u""}));
    EXPECT_EQ(Split(u"4:b:Orvanta:Review Sorvane", u':').size(), 4u);
    EXPECT_EQ(Join(Split(u"4:b:Orvanta:Review Sorvane", u':'), 2, 2, u':'), u"Orvanta:Review Sorvane");
}

TEST(Text, Utf8CarriesEveryName) {
    const std::vector<std::pair<std::u16string, std::string>> cases = {
        {u"", ""},
        {u"K_1_OD.jpg", "K_1_OD.jpg"},
        {u"K_\u0141ukasz_Zo\u00EB", "K_\xC5\x81ukasz_Zo\xC3\xAB"},
        {u"\u8A31\u20AC", "\xE8\xA8\xB1\xE2\x82\xAC"},
        {u"\U0001F600", "\xF0\x9F\x98\x80"},
    };
    for (const auto& [wide, utf8] : cases) {
        EXPECT_EQ(ToUtf8(wide), utf8);
        EXPECT_EQ(FromUtf8(utf8), wide);
    }
    EXPECT_EQ(FromUtf8("a\xFF\xC5"), u"a\uFFFD\uFFFD");  // no UTF-8: substitutes, nothing lost after
}

TEST(Text, LeadingNumberReadsOnlyTheStart) {
    EXPECT_EQ(LeadingNumber(u"12"), 12);
    EXPECT_EQ(LeadingNumber(u"  2.5 entries"), 2.5);
    EXPECT_EQ(LeadingNumber(u"-3x"), -3);
    EXPECT_EQ(LeadingNumber(u"1e3"), 1000);
    EXPECT_EQ(LeadingNumber(u" 1 2\t3x4"), 123);
    EXPECT_EQ(LeadingNumber(u"abc"), 0);
    EXPECT_EQ(LeadingNumber(u""), 0);
    EXPECT_EQ(LeadingNumber(u"."), 0);
}

TEST(Text, RoundsHalvesToEven) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(0.5), 0);
}

TEST(Text, TextToInt16ConvertsOrRaises) {
    EXPECT_EQ(TextToInt16(u" 12 "), 12);
    EXPECT_EQ(TextToInt16(u"12.5"), 12);
    EXPECT_EQ(TextToInt16(u"-32768"), -32768);
    EXPECT_EQ(ErrorOf([] { TextToInt16(u"32768"); }), vb::kOverflow);
    EXPECT_EQ(ErrorOf([] { TextToInt16(u"x12"); }), vb::kTypeMismatch);
    EXPECT_EQ(ErrorOf([] { TextToInt16(u"12x"); }), vb::kTypeMismatch);
    EXPECT_EQ(ErrorOf([] { TextToInt16(u""); }), vb::kTypeMismatch);
}

TEST(Text, FixStringDoublesEveryApostrophe) {
    EXPECT_EQ(OrvantaObject::FixString(u"O'Brien"), u"O''Brien");
    EXPECT_EQ(OrvantaObject::FixString(u"a''b"), u"a''''b");
    EXPECT_EQ(OrvantaObject::FixString(u"'"), u"''");
    EXPECT_EQ(OrvantaObject::FixString(u"Smith"), u"Smith");
    EXPECT_EQ(OrvantaObject::FixString(u""), u"");
}

TEST(Text, TrapTextHasTheOperationAndTheError) {
    EXPECT_EQ(TrapText(u"DoDeviceFunction", VbError(vb::kTypeMismatch)),
              u" DoDeviceFunction, Err Number: 13 Err Description: Type mismatch");
}

}  // namespace
}  // namespace orvanta
