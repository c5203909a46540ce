#include "calculator/PlateCodes.h"
#include "calculator/USHA1.h"
#include "calculator/UWG26.h"
#include "calculator/UWG64.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

#include <string>

using namespace quantivo;

namespace {

TSHA1Digest Digest(const std::string& text)
{
    TSHA1Digest h{};
    SHA1Digest(text, h);
    return h;
}

}  // namespace

TEST(SHA1Digest, FipsVectorsAndTheLongestOneBlockText)
{
    EXPECT_EQ(Digest(""),
              (TSHA1Digest{0xDA39A3EE, 0x5E6B4B0D, 0x3255BFEF, 0x95601890, 0xAFD80709}));
    EXPECT_EQ(Digest("abc"),
              (TSHA1Digest{0xA9993E36, 0x4706816A, 0xBA3E2571, 0x7850C26C, 0x9CD0D89D}));
    EXPECT_EQ(Digest(std::string(55, 'a')),
              (TSHA1Digest{0xC1C8BBDC, 0x22796E28, 0xC0E15163, 0xD20899B6, 0x5621D65A}));
}

TEST(SHA1Digest, EveryLengthThatFitsOneBlockMatchesAnIndependentDigest)
{
    std::string text;
    for (size_t n = 0; n <= 55; ++n) {
        SCOPED_TRACE(n);
        const QByteArray expected = QCryptographicHash::hash(
            QByteArray(text.data(), static_cast<qsizetype>(n)), QCryptographicHash::Sha1);
        const TSHA1Digest h = Digest(text);
        for (int i = 0; i < 20; ++i)
            EXPECT_EQ(static_cast<uint8_t>(expected[i]),
                      static_cast<uint8_t>(h[i / 4] >> (24 - 8 * (i % 4))));
        // Bytes above 127 and NUL are message bytes like any other.
        text += static_cast<char>(n * 37 + 200);
    }
}

TEST(SHA1Digest, TextsOfFiftySixBytesOrMoreLeaveTheRecordUntouched)
{
    const TSHA1Digest marker{1, 2, 3, 4, 5};
    for (const std::string& text :
         {std::string("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
          std::string(1000, 'x')}) {
        TSHA1Digest h = marker;
        SHA1Digest(text, h);
        EXPECT_EQ(h, marker) << text.size();
    }
}

TEST(SHA1Digest, WordOperations)
{
    EXPECT_EQ(SwapDWord(0x12345678), 0x78563412u);
    EXPECT_EQ(RotateLeft32(0x80000001, 1), 0x00000003u);
    EXPECT_EQ(RotateLeft32(0x12345678, 0), 0x12345678u);
    EXPECT_EQ(RotateLeft32(0x12345678, 32), 0x12345678u);
    EXPECT_EQ(RotateLeft32(0x12345678, 36), 0x23456781u);
}

TEST(Wiegand26Frame, ParityAtTheEdges)
{
    EXPECT_EQ(Wiegand26Frame(0), 0x0000001u);
    EXPECT_EQ(Wiegand26Frame(0x000001), 0x0000002u);
    EXPECT_EQ(Wiegand26Frame(0x800000), 0x3000001u);
    EXPECT_EQ(Wiegand26Frame(0xFFFFFF), 0x1FFFFFFu);
    EXPECT_EQ(Wiegand26Frame(0xFF80CF15), Wiegand26Frame(0x80CF15)) << "bits above 23 count";
    EXPECT_EQ(CountBits(0), 0);
    EXPECT_EQ(CountBits(0xFFFFFFFF), 32);
    EXPECT_EQ(CountBits(0x80000001), 2);
}

TEST(Wiegand64Code, GroupsAtTheEdges)
{
    EXPECT_EQ(Wiegand64Code(""), 0x6000000000000000ull);
    EXPECT_EQ(Wiegand64Code("a b"), 0x600000000001AFDBull);
    EXPECT_EQ(Wiegand64Code(" ab "), 0x600000000000069Bull);
    EXPECT_EQ(Wiegand64Code("ABCDEFGHIJKLMNOP"), 0x669B71D79F8218A3ull);
    EXPECT_EQ(Wiegand64Code("09AZ"), 0x60000000004196B3ull);
}

// The worked examples: both rows of each plate, cell by cell.
struct PlateRows {
    std::string plate;
    std::array<std::string, LV1ColumnCount> lv1;
    std::array<std::string, LV2ColumnCount> lv2;
};

class WorkedExample : public ::testing::TestWithParam<PlateRows> {};

TEST_P(WorkedExample, CellTexts)
{
    const TPlateCodes codes = ComputePlateCodes(GetParam().plate);
    EXPECT_EQ(LV1CellTexts(codes), GetParam().lv1);
    EXPECT_EQ(LV2CellTexts(codes), GetParam().lv2);
}

INSTANTIATE_TEST_SUITE_P(
    PlateCodes, WorkedExample,
    ::testing::Values(
        PlateRows{"HK55EVB",
                  {"HK55EVB", "0x3019E2A", "0xA44F633C 8A6D1581 50CCEB3E F83D9DE0 BA80CF15",
                   "0x80CF15", "8441621", "128", "53013"},
                  {"HK55EVB", "0x600002191555EBDB", "6917531334396472283"}},
        PlateRows{"AB123",
                  {"AB123", "0x2092383", "0xE4140B9A 1A8D553F E192C287 2E59DA79 A20491C1",
                   "0x0491C1", "299457", "4", "37313"},
                  {"AB123", "0x600000001A6D1493", "6917529028084438163"}},
        PlateRows{"A",
                  {"A", "0x0263837", "0x6DCD4CE2 3D88E2EE 9568BA54 6C007C63 D9131C1B", "0x131C1B",
                   "1252379", "19", "7195"},
                  {"A", "0x600000000000001A", "6917529027641081882"}},
        PlateRows{"X1",
                  {"X1", "0x2DC0C32", "0xBB4E247A 20875831 E391889A F95F7F5E 4E6E0619", "0x6E0619",
                   "7210521", "110", "1561"},
                  {"X1", "0x6000000000000C51", "6917529027641085009"}},
        PlateRows{"AB12CD34EF56",
                  {"AB12CD34EF56", "0x08C922A", "0xBC88E367 6E1C3412 FD76378A BE23E690 DC464915",
                   "0x464915", "4606229", "70", "18709"},
                  {"AB12CD34EF56", "0x669B45271D4D479F", "7393579247556446111"}}));

TEST(PlateCodes, SixteenCharactersAllCountForTheDigestButTenForTheCode)
{
    const TPlateCodes codes = ComputePlateCodes("ABCDEFGHIJKLMNOP");
    EXPECT_EQ(codes.digest,
              (TSHA1Digest{0xEAE3734D, 0x9EA7394F, 0xCBEE92AD, 0xB05994B5, 0x083827FC}));
    EXPECT_EQ(codes.code64, Wiegand64Code("ABCDEFGHIJ"));
}
