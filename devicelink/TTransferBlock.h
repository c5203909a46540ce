#pragma once

#include <cstdint>
#include <string_view>

// One plate entry inside a block: the plate's first 10 bytes padded with 00, then the
// frame value's low 48 bits, most significant byte first.
struct TPlateRecord {
    uint8_t Plate[10];
    uint8_t Frame[6];
};

// The wire format of one block of up to 16 plate entries; unused bytes are FF.
struct TTransferBlock {
    static constexpr int kRecords = 16;

    uint8_t Soh;
    uint8_t Number;            // low 8 bits of the block's number in the transfer
    uint8_t NumberComplement;  // 255 - Number
    TPlateRecord Records[kRecords];
    uint8_t Checksum;  // sum of the bytes before it, modulo 256

    // An empty block (all FF) with its header for the block number.
    static TTransferBlock Make(int blockNumber);
    void SetRecord(int index, std::string_view plate, uint64_t frame);
    // Sets the checksum; call after the last record is in.
    void Seal();
    const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(this); }
};

static_assert(sizeof(TPlateRecord) == 16);
static_assert(sizeof(TTransferBlock) == 260);
