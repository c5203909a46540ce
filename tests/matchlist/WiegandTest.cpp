#include "matchlist/Wiegand.h"

#include "platform/text/Format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <limits>

namespace {

TWiegandFormat Fmt(int32_t bits, bool fc, int32_t fcLen, int32_t fcVal, bool parity)
{
    return TWiegandFormat{bits, fc, fcLen, fcVal, parity};
}

const TWiegandFormat kNoFcParity26 = Fmt(26, false, 0, 0, true);

}  // namespace

TEST(Wiegand, WorkedExamples)
{
    const TWiegandFormat standard;
    EXPECT_EQ(EncodeWiegand(standard, "1"), 0x6020002u);
    EXPECT_EQ(Format("%.12x", EncodeWiegand(standard, "1")), "000006020002");
    EXPECT_EQ(EncodeWiegand(standard, "12345"), 0x6026073u);
    EXPECT_EQ(EncodeWiegand(Fmt(26, true, 8, 1, false), "5"), 0x4040005u);
    EXPECT_EQ(Format("%.12x", EncodeWiegand(Fmt(37, false, 8, 1, true), "1")), "002000000002");

    EXPECT_EQ(DecodeWiegand(standard, "000006020002"), 1);
    EXPECT_EQ(DecodeWiegand(standard, Format("%.12x", EncodeWiegand(standard, "12345"))), 12345);
    // Blanks around an id-number do not matter; a hex id-number reads as its value.
    EXPECT_EQ(EncodeWiegand(standard, " \t7 "), EncodeWiegand(standard, "7"));
    EXPECT_EQ(EncodeWiegand(standard, "$3039"), 0x6026073u);
}

TEST(Wiegand, CheckOfTheDefaultFormat)
{
    const TWiegandCheck check = CheckWiegandFormat(TWiegandFormat{});
    EXPECT_TRUE(check.valid);
    EXPECT_EQ(check.maxId, 65535);
    EXPECT_EQ(check.statusText, "Wiegand 26-bit FC1");
}

TEST(Wiegand, BitLengthLimits)
{
    for (const int32_t bits : {-1, 47, 48, INT32_MAX, INT32_MIN}) {
        const TWiegandCheck check = CheckWiegandFormat(Fmt(bits, false, 0, 0, true));
        EXPECT_TRUE(check.bitLengthError) << bits;
        EXPECT_FALSE(check.valid) << bits;
        EXPECT_EQ(check.statusText, "Wiegand format invalid");
    }
    // 0 is a valid format whose every frame value and id-number is 0.
    const TWiegandFormat zero = Fmt(0, false, 0, 0, true);
    const TWiegandCheck check = CheckWiegandFormat(zero);
    EXPECT_TRUE(check.valid);
    EXPECT_EQ(check.statusText, "Wiegand 0-bit");
    EXPECT_EQ(check.maxId, -1);
    EXPECT_EQ(EncodeWiegand(zero, "5"), 0u);
    EXPECT_EQ(DecodeWiegand(zero, "FFFF"), 0);

    EXPECT_TRUE(CheckWiegandFormat(Fmt(46, false, 0, 0, true)).valid);
    // 47 is refused by the check but still encodes (marker bit 47); 48 gives 0.
    EXPECT_EQ(EncodeWiegand(Fmt(47, false, 0, 0, false), "1"), (uint64_t{1} << 47) | 1);
    EXPECT_EQ(EncodeWiegand(Fmt(48, false, 0, 0, false), "1"), 0u);
}

TEST(Wiegand, FacilityCodeChecks)
{
    // Length 0: only the value 0 fits, and the status shows no facility code.
    TWiegandCheck check = CheckWiegandFormat(Fmt(26, true, 0, 0, true));
    EXPECT_TRUE(check.valid);
    EXPECT_EQ(check.statusText, "Wiegand 26-bit");
    EXPECT_TRUE(CheckWiegandFormat(Fmt(26, true, 0, 1, true)).fcValueError);

    EXPECT_FALSE(CheckWiegandFormat(Fmt(26, true, 8, 255, true)).fcValueError);
    EXPECT_TRUE(CheckWiegandFormat(Fmt(26, true, 8, 256, true)).fcValueError);
    EXPECT_TRUE(CheckWiegandFormat(Fmt(26, true, 8, -1, true)).fcValueError);
    EXPECT_TRUE(CheckWiegandFormat(Fmt(26, true, 27, 1, false)).fcLengthError);
    EXPECT_TRUE(CheckWiegandFormat(Fmt(46, true, 47, 1, false)).fcLengthError);
    EXPECT_TRUE(CheckWiegandFormat(Fmt(26, true, -1, 0, false)).fcLengthError);
    // Extreme lengths must neither overflow nor shift out of range.
    EXPECT_FALSE(CheckWiegandFormat(Fmt(26, true, INT32_MAX, INT32_MAX, true)).fcValueError);
    EXPECT_TRUE(CheckWiegandFormat(Fmt(26, true, INT32_MIN, 0, true)).fcValueError);

    // Switched off, the facility fields lose their marks whatever they hold.
    check = CheckWiegandFormat(Fmt(26, false, -5, -5, true));
    EXPECT_FALSE(check.fcLengthError);
    EXPECT_FALSE(check.fcValueError);
    EXPECT_EQ(check.statusText, "Wiegand 26-bit");
    EXPECT_EQ(check.maxId, 16777215);
}

TEST(Wiegand, NoIdBitsLeft)
{
    // Facility code as long as the frame, no parity: every id-number gives one frame.
    const TWiegandFormat full = Fmt(26, true, 26, 3, false);
    const TWiegandCheck check = CheckWiegandFormat(full);
    EXPECT_TRUE(check.valid);
    EXPECT_EQ(check.maxId, 0);
    EXPECT_EQ(EncodeWiegand(full, "1"), EncodeWiegand(full, "99999"));
    EXPECT_EQ(EncodeWiegand(full, "1"), (uint64_t{1} << 26) | 3);
    EXPECT_EQ(DecodeWiegand(full, "0000040000003"), 0);

    // With parity the facility code has no room beside the parity bits: it is left out
    // of the frame rather than shifted by a negative count.
    for (const int32_t fcLen : {25, 26}) {
        const TWiegandFormat cramped = Fmt(26, true, fcLen, 5, true);
        const TWiegandCheck c = CheckWiegandFormat(cramped);
        EXPECT_TRUE(c.valid) << fcLen;
        EXPECT_EQ(c.maxId, fcLen == 25 ? 0 : -1);
        EXPECT_EQ(EncodeWiegand(cramped, "12345"), (uint64_t{1} << 26) | 1) << fcLen;
        EXPECT_EQ(DecodeWiegand(cramped, "4000001"), 0);
    }
    EXPECT_EQ(CheckWiegandFormat(Fmt(1, false, 0, 0, true)).maxId, 0);
}

TEST(Wiegand, ParityHalvesOfEvenAndOddLengths)
{
    // 34 bits, facility code 8, parity: 24 id bits, halves of 16 bits.
    const TWiegandFormat f34 = Fmt(34, true, 8, 0, true);
    EXPECT_EQ(CheckWiegandFormat(f34).maxId, 16777215);
    EXPECT_EQ(EncodeWiegand(f34, "$8000"), 0x400010000u);   // bit 15: lower half only
    EXPECT_EQ(EncodeWiegand(f34, "$10000"), 0x600020001u);  // bit 16: upper half only
    EXPECT_EQ(EncodeWiegand(Fmt(34, true, 8, 1, true), "1"), 0x602000002u);

    // 35 bits, parity, no facility code: h = 17, both halves hold data bit 16.
    const TWiegandFormat f35 = Fmt(35, false, 0, 0, true);
    EXPECT_EQ(EncodeWiegand(f35, "$8000"), 0x800010000u);
    EXPECT_EQ(EncodeWiegand(f35, "$10000"), 0xC00020000u);
    EXPECT_EQ(EncodeWiegand(f35, "$100000000"), 0xE00000001u);
    EXPECT_EQ(DecodeWiegand(f35, "C00020000"), 0x10000);
}

TEST(Wiegand, OutOfRangeInputStaysInRange)
{
    // An unreadable (too long) id-number counts as 0; a larger one keeps its low id bits.
    EXPECT_EQ(EncodeWiegand(kNoFcParity26, "99999999999999999999999"),
              EncodeWiegand(kNoFcParity26, "0"));
    EXPECT_EQ(EncodeWiegand(kNoFcParity26, "$1000001"), EncodeWiegand(kNoFcParity26, "1"));
    EXPECT_EQ(EncodeWiegand(Fmt(46, false, 0, 0, false), "-1"), 0x7FFFFFFFFFFFu);

    // A negative facility length (an invalid format) leaves more id bits than 64.
    const TWiegandFormat wide = Fmt(40, true, -30, 7, false);
    EXPECT_EQ(CheckWiegandFormat(wide).maxId, std::numeric_limits<int64_t>::max());
    EXPECT_EQ(EncodeWiegand(wide, "-1"), ~uint64_t{0});
    EXPECT_EQ(DecodeWiegand(Fmt(INT32_MAX, false, 0, 0, false), "FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(DecodeWiegand(kNoFcParity26, std::string(40, '1')), 0);
    EXPECT_EQ(DecodeWiegand(kNoFcParity26, "12G4"), 0);
    EXPECT_EQ(DecodeWiegand(kNoFcParity26, ""), 0);
}

TEST(Wiegand, Parity64)
{
    EXPECT_EQ(Parity64(0), 0);
    EXPECT_EQ(Parity64(0x10001), 0);
    EXPECT_EQ(Parity64(uint64_t{1} << 63), 1);
    EXPECT_EQ(Parity64(~uint64_t{0}), 0);
}
