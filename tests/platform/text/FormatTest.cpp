#include "platform/text/Errors.h"
#include "platform/text/Format.h"
#include "platform/text/LocaleSeparators.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

// Fixes the separators for one test and gives the locale back after it.
class FixedSeparators final {
public:
    FixedSeparators(char decimal, char thousand)
    {
        SetLocaleSeparatorsForTesting(decimal, thousand);
    }
    ~FixedSeparators() { SetLocaleSeparatorsForTesting('\0', '\0'); }
};

}  // namespace

TEST(Format, HexadecimalIsUpperCaseAndPaddedToThePrecision)
{
    EXPECT_EQ(Format("%x", 255), "FF");
    EXPECT_EQ(Format("%X", 0xabcU), "ABC");
    EXPECT_EQ(Format("%.12x", int64_t{0xABCDEF}), "000000ABCDEF");
    EXPECT_EQ(Format("QLI%.4X", 42), "QLI002A");
    EXPECT_EQ(Format("0x%.7X", 0x3019E2A), "0x3019E2A");
    EXPECT_EQ(Format("%.2x:%.2x", uint8_t{10}, uint8_t{255}), "0A:FF");
    EXPECT_EQ(Format("%x", uint64_t{0x600002191555EBDB}), "600002191555EBDB");
}

TEST(Format, NegativeValuesShowTheirPatternAtTheArgumentsOwnWidth)
{
    EXPECT_EQ(Format("%x", -1), "FFFFFFFF");
    EXPECT_EQ(Format("%x", int64_t{-1}), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(Format("%x", int16_t{-2}), "FFFE");
    EXPECT_EQ(Format("%x", static_cast<signed char>(-1)), "FF");
    EXPECT_EQ(Format("%u", -1), "4294967295");
}

TEST(Format, DecimalCoversTheFullRangeOfEachWidth)
{
    EXPECT_EQ(Format("%d", std::numeric_limits<int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(Format("%d", std::numeric_limits<int64_t>::max()), "9223372036854775807");
    EXPECT_EQ(Format("%d", std::numeric_limits<uint64_t>::max()), "18446744073709551615");
    EXPECT_EQ(Format("Deleted %d plates", 0), "Deleted 0 plates");
}

TEST(Format, WidthFlagsAndPrecisionAsPrintfHasThem)
{
    EXPECT_EQ(Format("[%5d]", 42), "[   42]");
    EXPECT_EQ(Format("[%-5d]", 42), "[42   ]");
    EXPECT_EQ(Format("[%05d]", -42), "[-0042]");
    EXPECT_EQ(Format("[%-05d]", 42), "[42   ]");
    EXPECT_EQ(Format("[%.3d]", -7), "[-007]");
    EXPECT_EQ(Format("[%06.3d]", 7), "[   007]");  // a precision switches '0' off
    EXPECT_EQ(Format("[%08X]", 0xBEEF), "[0000BEEF]");
    EXPECT_EQ(Format("[%5s]", "ab"), "[   ab]");
    EXPECT_EQ(Format("[%-5s]", std::string("ab")), "[ab   ]");
    EXPECT_EQ(Format("[%.2s]", std::string_view("abcdef")), "[ab]");
    EXPECT_EQ(Format("[%1s]", "long"), "[long]");
    EXPECT_EQ(Format("%c%%%s", 'A', "\xE4\x80"), "A%\xE4\x80");
    EXPECT_EQ(Format("[%s]", static_cast<const char*>(nullptr)), "[]");
}

TEST(Format, FixedDecimalsUseTheLocalesSeparator)
{
    {
        FixedSeparators comma(',', '.');
        EXPECT_EQ(Format("%.1f", 3.14159), "3,1");
        EXPECT_EQ(Format("%.1f KB", 0.96), "1,0 KB");
    }
    FixedSeparators point('.', ',');
    EXPECT_EQ(Format("%f", 2.0), "2.00");
    EXPECT_EQ(Format("[%6.2f]", 3.14159), "[  3.14]");
    EXPECT_EQ(Format("[%07.1f]", -2.5), "[-0002.5]");
    EXPECT_EQ(Format("%.0f", 2.5), "2");
}

TEST(Format, SeparatorOverrideIsUndone)
{
    const char decimal = DecimalSeparator();
    const char thousand = ThousandSeparator();
    EXPECT_NE(decimal, thousand);
    {
        FixedSeparators fixed('#', '~');
        EXPECT_EQ(DecimalSeparator(), '#');
        EXPECT_EQ(ThousandSeparator(), '~');
    }
    EXPECT_EQ(DecimalSeparator(), decimal);
    EXPECT_EQ(ThousandSeparator(), thousand);
}

TEST(Format, AMismatchBetweenFormatAndArgumentsIsAnError)
{
    EXPECT_THROW(Format("%d and %d", 1), EError);
    EXPECT_THROW(Format("%d", "text"), EError);
    EXPECT_THROW(Format("%s", 5), EError);
    EXPECT_THROW(Format("%.1f", 5), EError);
    EXPECT_THROW(Format("%x", 1.5), EError);
    EXPECT_THROW(Format("%q", 1), EError);
    EXPECT_THROW(Format("100%", 1), EError);
    EXPECT_EQ(Format("%d", 1, 2), "1");
}
