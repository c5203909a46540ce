#include "platform/text/LocaleSeparators.h"
#include "widgets/FieldEditText.h"

#include <gtest/gtest.h>

namespace {

class FieldEditText : public ::testing::Test {
protected:
    void SetUp() override { SetLocaleSeparatorsForTesting('.', ','); }
    void TearDown() override { SetLocaleSeparatorsForTesting('\0', '\0'); }
};

TEST_F(FieldEditText, MixedCaseCapitalisesWordsAndNamePrefixes)
{
    EXPECT_EQ(MixedCase("mcdonald"), "McDonald");
    EXPECT_EQ(MixedCase("john o'neil"), "John O'Neil");
    EXPECT_EQ(MixedCase("o'brien-smith"), "O'Brien-Smith");
    EXPECT_EQ(MixedCase("henry iii"), "Henry III");
    EXPECT_EQ(MixedCase("ARNOLD II"), "Arnold II");
    // Only " I" and " II" near the end keep the next letter capital.
    EXPECT_EQ(MixedCase("LOUIS xiv"), "Louis Xiv");
    // Digits neither start nor end a word.
    EXPECT_EQ(MixedCase("abc1def"), "Abc1def");
    EXPECT_EQ(MixedCase("old mcdonald"), "Old McDonald");
    EXPECT_EQ(MixedCase(""), "");
    EXPECT_EQ(MixedCase("i"), "I");
}

TEST_F(FieldEditText, DetectTextTypeClasses)
{
    EXPECT_EQ(DetectTextType("123"), ttInteger);
    EXPECT_EQ(DetectTextType("-5"), ttInteger);
    EXPECT_EQ(DetectTextType("1,234.5"), ttNumber);
    EXPECT_EQ(DetectTextType("1,2"), ttNumber);
    EXPECT_EQ(DetectTextType("0A"), ttHexadecimal);
    EXPECT_EQ(DetectTextType("ff"), ttHexadecimal);
    EXPECT_EQ(DetectTextType(""), ttOther);
    EXPECT_EQ(DetectTextType("12a.3"), ttOther);
    // A thousand separator in the first place, two minus signs, two decimal points.
    EXPECT_EQ(DetectTextType(",5"), ttOther);
    EXPECT_EQ(DetectTextType("--1"), ttOther);
    EXPECT_EQ(DetectTextType("1.2.3"), ttOther);
    EXPECT_EQ(DetectTextType("00-20-4A"), ttOther);
}

TEST_F(FieldEditText, DetectTextTypeFollowsTheLocale)
{
    SetLocaleSeparatorsForTesting(',', '.');
    EXPECT_EQ(DetectTextType("1.234,5"), ttNumber);
    EXPECT_EQ(DetectTextType("1,2,3"), ttOther);
}

TEST_F(FieldEditText, HexToIntCountsTheLastEightCharacters)
{
    EXPECT_EQ(HexToInt("FF"), 255);
    EXPECT_EQ(HexToInt("ff"), 255);
    EXPECT_EQ(HexToInt("1-2"), 258);  // a non-digit counts 0 but keeps its place
    EXPECT_EQ(HexToInt("FFFFFFFF"), -1);
    EXPECT_EQ(HexToInt("123456789"), HexToInt("23456789"));
    EXPECT_EQ(HexToInt(""), 0);
    EXPECT_EQ(HexDigitValue('g'), 0);
    EXPECT_EQ(HexDigitValue('b'), 11);
}

TEST_F(FieldEditText, ValIntReadsUpToTheFirstStrangeCharacter)
{
    EXPECT_EQ(ValInt(""), 0);
    EXPECT_EQ(ValInt("255"), 255);
    EXPECT_EQ(ValInt("12a"), 12);
    EXPECT_EQ(ValInt("-7"), -7);
    EXPECT_EQ(ValInt("-7a"), 7);  // the sign counts only when the whole text reads
    EXPECT_EQ(ValInt("  $1F"), 31);
    EXPECT_EQ(ValInt("0x10"), 16);
    EXPECT_EQ(ValInt("+8"), 8);
    EXPECT_EQ(ValInt("2147483647"), 2147483647);
    // Past the range the reading stops where the range check did.
    EXPECT_EQ(ValInt("99999999999"), 999999999);
}

TEST_F(FieldEditText, SeparatorsAndFloats)
{
    EXPECT_EQ(StripThousandSeparators("1,234,567.5"), "1234567.5");
    EXPECT_DOUBLE_EQ(TextToFloatValue("1,234.5"), 1234.5);
    EXPECT_DOUBLE_EQ(TextToFloatValue("-0.25"), -0.25);
    EXPECT_DOUBLE_EQ(TextToFloatValue("abc"), 0);
    EXPECT_DOUBLE_EQ(TextToFloatValue("inf"), 0);
    EXPECT_DOUBLE_EQ(TextToFloatValue(""), 0);
    EXPECT_EQ(FormatFixed(1234567.891, 2, true), "1,234,567.89");
    EXPECT_EQ(FormatFixed(-1234.5, 1, false), "-1234.5");
    SetLocaleSeparatorsForTesting(',', '.');
    EXPECT_DOUBLE_EQ(TextToFloatValue("1.234,5"), 1234.5);
    EXPECT_DOUBLE_EQ(TextToFloatValue("1,5.2"), 1.52);  // thousand separators go first
    EXPECT_DOUBLE_EQ(TextToFloatValue("1,5,2"), 0);
    EXPECT_EQ(FormatFixed(1234.5, 2, true), "1.234,50");
}

TEST_F(FieldEditText, CaseHelpers)
{
    EXPECT_EQ(LowerChar('Q'), 'q');
    EXPECT_EQ(LowerChar('\xC4'), '\xC4');      // LowerChar touches A-Z only
    EXPECT_EQ(UpperCaseChar('\xE4'), '\xC4');  // the locale-aware form does not
    EXPECT_EQ(UpperCaseChar('\xDF'), 'S');     // first character of "SS"
    EXPECT_EQ(UpperCaseLocale("ab\xE4"), "AB\xC4");
}

}  // namespace
