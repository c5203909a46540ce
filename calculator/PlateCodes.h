#pragma once

#include "calculator/USHA1.h"

#include <array>
#include <cstdint>
#include <string>

namespace quantivo {

// Everything the two result lists show of one cleaned plate.
struct TPlateCodes {
    std::string plate;
    TSHA1Digest digest{};
    uint32_t truncatedDigest = 0;  // the low 24 bits of H4
    uint32_t facilityCode = 0;     // its top 8 bits
    uint32_t idNumber = 0;         // its low 16 bits
    uint32_t frame26 = 0;
    uint64_t code64 = 0;
};

constexpr int LV1ColumnCount = 7;
constexpr int LV2ColumnCount = 3;

TPlateCodes ComputePlateCodes(const std::string& cleanedPlate);

// The cells of a row, column 0 (the plate) first, in the lists' formats.
std::array<std::string, LV1ColumnCount> LV1CellTexts(const TPlateCodes& codes);
std::array<std::string, LV2ColumnCount> LV2CellTexts(const TPlateCodes& codes);

}  // namespace quantivo
