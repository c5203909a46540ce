#include "devicelink/TTransferBlock.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string BytesOf(const TTransferBlock& block)
{
    return std::string(reinterpret_cast<const char*>(block.Bytes()), sizeof block);
}

uint8_t Sum(const std::string& bytes, size_t count)
{
    uint8_t sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(bytes[i]));
    return sum;
}

}  // namespace

TEST(TTransferBlock, AnEmptyBlockIsHeaderAndFFThenItsChecksum)
{
    auto block = TTransferBlock::Make(1);
    block.Seal();
    const std::string bytes = BytesOf(block);
    ASSERT_EQ(bytes.size(), 260u);
    EXPECT_EQ(bytes.substr(0, 3), std::string("\x01\x01\xFE", 3));
    EXPECT_EQ(bytes.substr(3, 256), std::string(256, '\xFF'));
    EXPECT_EQ(static_cast<uint8_t>(bytes[259]), Sum(bytes, 259));
}

TEST(TTransferBlock, BlockNumbersWrapAfter255)
{
    for (const auto& [number, low, complement] :
         {std::tuple{0, 0x00, 0xFF}, {255, 0xFF, 0x00}, {256, 0x00, 0xFF}, {257, 0x01, 0xFE}}) {
        const auto block = TTransferBlock::Make(number);
        EXPECT_EQ(block.Number, low) << number;
        EXPECT_EQ(block.NumberComplement, complement) << number;
    }
}

TEST(TTransferBlock, RecordsHoldTenPlateBytesAndSixFrameBytes)
{
    auto block = TTransferBlock::Make(0);
    block.SetRecord(0, "AB1", 5);
    block.SetRecord(1, "ABCDEFGHIJKL", 0x123456789ABCull);
    block.SetRecord(2, std::string("\x80\xFF\0Z", 4), 0);
    block.Seal();
    const std::string bytes = BytesOf(block);
    EXPECT_EQ(bytes.substr(3, 16), std::string("AB1\0\0\0\0\0\0\0\0\0\0\0\0\x05", 16));
    EXPECT_EQ(bytes.substr(19, 16), std::string("ABCDEFGHIJ\x12\x34\x56\x78\x9A\xBC", 16));
    EXPECT_EQ(bytes.substr(35, 16), std::string("\x80\xFF\0Z\0\0\0\0\0\0\0\0\0\0\0\0", 16));
    EXPECT_EQ(bytes.substr(51, 208), std::string(208, '\xFF'));
    EXPECT_EQ(static_cast<uint8_t>(bytes[259]), Sum(bytes, 259));
}

TEST(TTransferBlock, OnlyTheLow48BitsOfAFrameAreWritten)
{
    auto block = TTransferBlock::Make(0);
    block.SetRecord(15, "X", 0xFFFF000000000001ull);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(block.Records[15].Frame), 6),
              std::string("\0\0\0\0\0\x01", 6));
}
