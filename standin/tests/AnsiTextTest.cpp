// Case rules of the Windows-1252 code page, and the patterns of programmed faults.
#include <gtest/gtest.h>

#include "standin/core/AnsiText.h"

namespace {

using namespace standin;

TEST(AnsiText, EveryLetterOfTheCodePageHasItsCaseFolded) {
    EXPECT_EQ(UpperAnsi("m\xfcller \xe9lo\xefse \x9a\x9c\x9e\xff"), "M\xdcLLER \xc9LO\xcfSE \x8a\x8c\x8e\x9f");
    EXPECT_EQ(LowerAnsi("M\xdcLLER \x8a\x8c\x8e\x9f"), "m\xfcller \x9a\x9c\x9e\xff");
    // No capital in the code page: sharp s, micro, ordinals; the signs between the letters are no letters.
    EXPECT_EQ(UpperAnsi("\xdf\xb5\xaa\xba\xd7\xf7"), "\xdf\xb5\xaa\xba\xd7\xf7");
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        EXPECT_EQ(UpperAnsi(LowerAnsi(UpperAnsi(ch))), UpperAnsi(ch)) << c;
    }
    EXPECT_EQ(CompareNoCaseAnsi("WS\xc9"
                                "01",
                                "ws\xe9"
                                "01"),
              0);
    EXPECT_LT(CompareNoCaseAnsi("ab", "ABC"), 0);
    EXPECT_GT(CompareNoCaseAnsi("\xe9", "E"), 0) << "accents are not folded away";
}

TEST(AnsiText, GlobPatternsCoverTheWholeText) {
    EXPECT_TRUE(GlobNoCaseAnsi("drop database *", "DROP DATABASE PATIENT"));
    EXPECT_TRUE(GlobNoCaseAnsi("*Database=PATIENT;*", "Driver={SQL Server};Server=x;Database=patient;Pwd=***;"));
    EXPECT_FALSE(GlobNoCaseAnsi("*Database=PATIENT;*", "Driver={SQL Server};Database=PATIENTS;"));
    EXPECT_TRUE(GlobNoCaseAnsi("a*b*c", "a-b-b-c"));
    EXPECT_FALSE(GlobNoCaseAnsi("a*b*c", "a-b-b-c-d"));
    EXPECT_TRUE(GlobNoCaseAnsi("?\xe9*", "X\xc9"));
    EXPECT_TRUE(GlobNoCaseAnsi("*", ""));
    EXPECT_FALSE(GlobNoCaseAnsi("?", ""));
    EXPECT_FALSE(GlobNoCaseAnsi("select", "select 1"));
}

TEST(AnsiText, LikeFoldsCaseAndKnowsTheSetsOfTransactSql) {
    EXPECT_TRUE(LikeNoCaseAnsi("m\xfc%", "M\xdcLLER"));
    EXPECT_TRUE(LikeNoCaseAnsi("_\xfcll_r", "M\xdcLLER"));
    EXPECT_FALSE(LikeNoCaseAnsi("mu%", "M\xdcLLER"));
    EXPECT_TRUE(LikeNoCaseAnsi("%[0-9]", "ab7"));
    EXPECT_FALSE(LikeNoCaseAnsi("%[^0-9]", "ab7"));
    EXPECT_TRUE(
        LikeNoCaseAnsi("[\xe9"
                       "e]1%",
                       "\xc9"
                       "100"));
    EXPECT_TRUE(LikeNoCaseAnsi("100!%", "100%", '!'));
    EXPECT_FALSE(LikeNoCaseAnsi("100!%", "1000", '!'));
    EXPECT_TRUE(LikeNoCaseAnsi("[x", "[X")) << "a [ that opens no set stands for itself";
    EXPECT_TRUE(LikeNoCaseAnsi("%a%b%", "xxAyyBzz"));
    EXPECT_FALSE(LikeNoCaseAnsi("%a%b", "xxAyyBzz"));
    EXPECT_TRUE(LikeNoCaseAnsi("", ""));
}

}  // namespace
