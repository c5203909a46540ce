#include "calculator/NormalizePlate.h"

#include <gtest/gtest.h>

using quantivo::NormalizePlate;

TEST(NormalizePlate, CleansWorkedExamples)
{
    EXPECT_EQ(NormalizePlate("hk 55 evb"), "HK55EVB");
    EXPECT_EQ(NormalizePlate("ab-123"), "AB123");
    EXPECT_EQ(NormalizePlate("x1;note"), "X1");
    EXPECT_EQ(NormalizePlate("Ab 12 cd 34 ef 56"), "AB12CD34EF56");
    EXPECT_EQ(NormalizePlate("\t a.b,c\x01\r"), "ABC");
}

TEST(NormalizePlate, LengthLimitAppliesAfterCleaning)
{
    EXPECT_EQ(NormalizePlate("AB-CD-EF-GH-IJ-KL-MN-OP"), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(NormalizePlate("ABCDEFGHIJKLMNOPQ"), std::nullopt);
    EXPECT_EQ(NormalizePlate(std::string(100000, 'A')), std::nullopt);
    EXPECT_EQ(NormalizePlate(std::string(100000, '-') + "AB"), "AB");
}

TEST(NormalizePlate, RejectsTheHeaderLineOfAResultFile)
{
    EXPECT_EQ(NormalizePlate("numberplate"), std::nullopt);
    EXPECT_EQ(NormalizePlate("Number plate"), std::nullopt);
    EXPECT_EQ(NormalizePlate("Number plate;Wiegand 26-bit (hex)"), std::nullopt);
    EXPECT_EQ(NormalizePlate("numberplate2"), "NUMBERPLATE2");
}

TEST(NormalizePlate, RejectsTextsWithoutPlateCharacters)
{
    EXPECT_EQ(NormalizePlate(""), std::nullopt);
    EXPECT_EQ(NormalizePlate(" -- . , !"), std::nullopt);
    EXPECT_EQ(NormalizePlate(";AB123"), std::nullopt);
}

TEST(NormalizePlate, DeletesBytesAboveAsciiInsteadOfConvertingThem)
{
    EXPECT_EQ(NormalizePlate("\xE4"
                             "bc 1"),
              "BC1");
    EXPECT_EQ(NormalizePlate(std::string("A\0B", 3)), "AB");
    EXPECT_EQ(NormalizePlate("\xC4\xD6\xDC\xFF"), std::nullopt);
}
