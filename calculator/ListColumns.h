#pragma once

#include "calculator/PlateCodes.h"

#include <array>
#include <cstdint>

namespace quantivo {

inline constexpr std::array<const char*, LV1ColumnCount> LV1Captions = {
    "Number plate",           "Wiegand 26-bit (hex)", "Digest (full hex)", "Digest (truncated hex)",
    "Digest (truncated dec)", "Facility code",        "ID number"};
inline constexpr std::array<const char*, LV2ColumnCount> LV2Captions = {
    "Number plate", "Wiegand 64-bit (raw)", "Wiegand 64-bit (dec)"};

// The width a column gets when it is shown again: LV1's seven columns, then LV2's three.
inline constexpr std::array<int32_t, LV1ColumnCount + LV2ColumnCount> DefaultColumnWidths = {
    100, 120, 300, 140, 140, 100, 100, 120, 160, 160};
inline constexpr int LV2DefaultWidthOffset = LV1ColumnCount;

// The widths at first start: the digest columns and the decimal 64-bit code start hidden.
inline constexpr std::array<int32_t, LV1ColumnCount> LV1InitialWidths = {100, 120, 0,  0,
                                                                         0,   100, 100};
inline constexpr std::array<int32_t, LV2ColumnCount> LV2InitialWidths = {120, 160, 0};

// Columns that sort by their 64-bit value instead of their text.
inline constexpr std::array<bool, LV1ColumnCount> LV1NumericColumns = {false, false, false, false,
                                                                       true,  true,  true};
inline constexpr std::array<bool, LV2ColumnCount> LV2NumericColumns = {false, false, true};

}  // namespace quantivo
