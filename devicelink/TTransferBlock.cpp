#include "devicelink/TTransferBlock.h"

#include <algorithm>
#include <cstring>

TTransferBlock TTransferBlock::Make(int blockNumber)
{
    TTransferBlock block;
    std::memset(&block, 0xFF, sizeof block);
    block.Soh = 0x01;
    block.Number = static_cast<uint8_t>(blockNumber & 0xFF);
    block.NumberComplement = static_cast<uint8_t>(255 - block.Number);
    return block;
}

void TTransferBlock::SetRecord(int index, std::string_view plate, uint64_t frame)
{
    TPlateRecord& record = Records[index];
    std::memset(record.Plate, 0x00, sizeof record.Plate);
    std::memcpy(record.Plate, plate.data(), std::min(plate.size(), sizeof record.Plate));
    for (int i = 0; i < 6; ++i)
        record.Frame[i] = static_cast<uint8_t>(frame >> (8 * (5 - i)));
}

void TTransferBlock::Seal()
{
    const uint8_t* bytes = Bytes();
    uint8_t sum = 0;
    for (size_t i = 0; i + 1 < sizeof *this; ++i)
        sum = static_cast<uint8_t>(sum + bytes[i]);
    Checksum = sum;
}
