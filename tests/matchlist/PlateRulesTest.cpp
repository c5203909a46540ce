#include "matchlist/PlateRules.h"

#include <gtest/gtest.h>

#include <string>

TEST(PlateRules, PlatesAreJudgedOnTheCleanedCopy)
{
    EXPECT_TRUE(IsValidPlate("ab-12 3"));
    EXPECT_TRUE(IsValidPlate("\t AB.12/3#\r"));
    EXPECT_TRUE(IsValidPlate("\"AB\"12"));
    EXPECT_TRUE(IsValidPlate("M\xE4\xEB\xEF\xF6\xFC"));
    EXPECT_FALSE(IsValidPlate("AB:12"));
    EXPECT_FALSE(IsValidPlate("AB_12"));
    EXPECT_FALSE(IsValidPlate("AB@12"));
    EXPECT_FALSE(IsValidPlate("AB{12"));
    EXPECT_FALSE(IsValidPlate("AB\x7F"));
    EXPECT_FALSE(IsValidPlate("\xC4"
                              "B12"));  // capital A with diaeresis
    EXPECT_FALSE(IsValidPlate("\xFF"));
    EXPECT_FALSE(IsValidPlate(" - -- "));
    EXPECT_FALSE(IsValidPlate(""));
    EXPECT_FALSE(IsValidPlate(std::string("\0\0", 2)));
}

TEST(PlateRules, IdNumbers)
{
    EXPECT_TRUE(IsValidIdNumber(" 12\t", 0));
    EXPECT_TRUE(IsValidIdNumber("0x10", 0));
    EXPECT_EQ(ReadIdNumber("$1F"), 31);
    EXPECT_EQ(ReadIdNumber(" 010 "), 10);
    for (const char* bad :
         {"12a", "0", "-5", "", "  ", "99999999999999999999", "$8000000000000000"})
        EXPECT_FALSE(IsValidIdNumber(bad, 0)) << bad;

    EXPECT_TRUE(IsValidIdNumber("65535", 65535));
    EXPECT_FALSE(IsValidIdNumber("65536", 65535));
    EXPECT_TRUE(IsValidIdNumber("9223372036854775807", 0));
    EXPECT_TRUE(IsValidIdNumber("9223372036854775807", -1));
}
