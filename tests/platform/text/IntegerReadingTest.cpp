#include "platform/text/IntegerReading.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr int64_t kMin64 = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax64 = std::numeric_limits<int64_t>::max();
constexpr int32_t kMin32 = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax32 = std::numeric_limits<int32_t>::max();

}  // namespace

TEST(IntegerReading, DecimalWithBlanksAndSignsBeforeTheDigitsOnly)
{
    EXPECT_EQ(ReadInt64("0"), 0);
    EXPECT_EQ(ReadInt64("   12"), 12);
    EXPECT_EQ(ReadInt64("+7"), 7);
    EXPECT_EQ(ReadInt64("-7"), -7);
    EXPECT_EQ(ReadInt64("010"), 10);  // never octal
    for (const char* bad : {"", " ", "12 ", "1 2", "-", "+", "- 5", "--1", "abc", "1a", "\t12",
                            "1.5", "0x", "$", "-$", "0xG", "$1 "})
        EXPECT_FALSE(ReadInt64(bad).has_value()) << '"' << bad << '"';
}

TEST(IntegerReading, HexadecimalAfterEachOfItsIntroducers)
{
    for (const char* text : {"$1F", "x1f", "X1F", "0x1F", "0X1f", "+$1f", " $001F"})
        EXPECT_EQ(ReadInt64(text), 31) << text;
    EXPECT_EQ(ReadInt64("-0x10"), -16);
    EXPECT_EQ(ReadInt32("0x1A"), 26);
}

TEST(IntegerReading, SixtyFourBitBoundaries)
{
    EXPECT_EQ(ReadInt64("9223372036854775807"), kMax64);
    EXPECT_EQ(ReadInt64("-9223372036854775808"), kMin64);
    EXPECT_FALSE(ReadInt64("9223372036854775808"));
    EXPECT_FALSE(ReadInt64("-9223372036854775809"));
    EXPECT_FALSE(ReadInt64("99999999999999999999"));
    EXPECT_EQ(ReadInt64("0000000000000000000000000012"), 12);

    EXPECT_EQ(ReadInt64("$7FFFFFFFFFFFFFFF"), kMax64);
    EXPECT_EQ(ReadInt64("$8000000000000000"), kMin64);
    EXPECT_EQ(ReadInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(ReadInt64("-$FFFFFFFFFFFFFFFF"), 1);
    EXPECT_EQ(ReadInt64("-$8000000000000000"), kMin64);
    // Leading zeros are not significant digits.
    EXPECT_EQ(ReadInt64("$0000FFFFFFFFFFFFFFFF"), -1);
    EXPECT_FALSE(ReadInt64("$10000000000000000"));  // 17 significant digits
}

TEST(IntegerReading, ThirtyTwoBitBoundaries)
{
    EXPECT_EQ(ReadInt32("2147483647"), kMax32);
    EXPECT_EQ(ReadInt32("-2147483648"), kMin32);
    EXPECT_FALSE(ReadInt32("2147483648"));
    EXPECT_FALSE(ReadInt32("-2147483649"));
    EXPECT_EQ(ReadInt32("$7FFFFFFF"), kMax32);
    EXPECT_EQ(ReadInt32("$80000000"), kMin32);
    EXPECT_EQ(ReadInt32("$FFFFFFFF"), -1);
    EXPECT_EQ(ReadInt32("0x00000000FFFFFFFF"), -1);
    EXPECT_FALSE(ReadInt32("$100000000"));
}

TEST(IntegerReading, UnreadableTextGivesTheCallersDefault)
{
    EXPECT_EQ(StrToIntDef("abc", 26), 26);
    EXPECT_EQ(StrToIntDef("0x1A", 0), 26);
    EXPECT_EQ(StrToInt64Def("", -5), -5);
    EXPECT_EQ(StrToInt64Def("$FFFFFFFF", 0), 4294967295);
}
