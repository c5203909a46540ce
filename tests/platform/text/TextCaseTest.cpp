#include "platform/text/TextCase.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

TEST(TextCase, TrimmingDropsControlCodesAndBlanksButNotTheNoBreakSpace)
{
    EXPECT_EQ(Trim("\t \0 ab c\r\n"s), "ab c");
    EXPECT_EQ(TrimLeft("  ab  "), "ab  ");
    EXPECT_EQ(TrimRight("  ab  "), "  ab");
    EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
    EXPECT_EQ(Trim(" \t "), "");
}

TEST(TextCase, CaseFoldingTouchesOnlyAsciiLetters)
{
    EXPECT_EQ(UpperCaseAscii("ab-z \xE4\xFF"), "AB-Z \xE4\xFF");
    EXPECT_EQ(LowerCaseAscii("AB-Z \xC4"), "ab-z \xC4");
    EXPECT_TRUE(SameTextAscii("Options", "OPTIONS"));
    EXPECT_FALSE(SameTextAscii("\xE4", "\xC4"));
    EXPECT_FALSE(SameTextAscii("ab", "abc"));
}

TEST(TextCase, ComparisonOrdersFoldedBytesAsUnsigned)
{
    EXPECT_EQ(CompareTextAscii("abc", "ABC"), 0);
    EXPECT_LT(CompareTextAscii("abc", "ABD"), 0);
    EXPECT_LT(CompareTextAscii("ab", "abc"), 0);
    EXPECT_GT(CompareTextAscii("abc", "ab"), 0);
    EXPECT_GT(CompareTextAscii("\xE4", "z"), 0);
    // '_' lies between the upper- and lower-case letters: folding to upper case decides.
    EXPECT_GT(CompareTextAscii("_", "a"), 0);
}
