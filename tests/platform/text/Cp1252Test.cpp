#include "platform/text/Cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252, EveryByteSurvivesTheTripThroughAWidgetString)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const QString shown = ToQString(all);
    ASSERT_EQ(shown.size(), 256);
    EXPECT_EQ(ToCp1252(shown), all);
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(UnicodeToCp1252(Cp1252ToUnicode(static_cast<unsigned char>(b))), b) << b;
}

TEST(Cp1252, TheRangeFromEightyToNinetyFiveHoldsTheCodePagesOwnCharacters)
{
    EXPECT_EQ(Cp1252ToUnicode(0x80), u'\u20AC');  // euro sign
    EXPECT_EQ(Cp1252ToUnicode(0x8C), u'\u0152');
    EXPECT_EQ(Cp1252ToUnicode(0x9F), u'\u0178');
    // Undefined codes stay the control characters of their number.
    for (unsigned char code : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(Cp1252ToUnicode(code), char16_t{code});
    EXPECT_EQ(ToCp1252(QString::fromUtf8("\u20AC \u00E4 \u2122")), "\x80 \xE4 \x99");
    EXPECT_EQ(ToQString("\xE4\x80"), QString::fromUtf8("\u00E4\u20AC"));
}

TEST(Cp1252, CharactersWithoutACodeBecomeOneQuestionMarkEach)
{
    EXPECT_EQ(UnicodeToCp1252(u'\u0100'), -1);
    EXPECT_EQ(UnicodeToCp1252(u'\u0080'), -1);  // its code 80 belongs to the euro sign
    EXPECT_EQ(ToCp1252(QString::fromUtf8("a\u4E2Db")), "a?b");
    // A character outside the basic plane is two UTF-16 units but one character.
    EXPECT_EQ(ToCp1252(QString::fromUtf8("a\U0001F600b")), "a?b");
}
