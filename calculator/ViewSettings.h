#pragma once

#include "calculator/ListColumns.h"

#include <array>
#include <cstdint>
#include <string>

namespace quantivo {

// What the settings file keeps between runs: the page on view (-1: none) and the column
// widths of both lists (0: hidden).
struct TViewSettings {
    int32_t mode = 0;
    std::array<int32_t, LV1ColumnCount> lv1Widths = LV1InitialWidths;
    std::array<int32_t, LV2ColumnCount> lv2Widths = LV2InitialWidths;
};

// A missing file, a missing key or a value that does not read as an integer gives the
// value of a default TViewSettings; reading creates nothing.
TViewSettings ReadViewSettings(const std::string& fileName);
// Writes every key, key by key; the first key that cannot be written raises
// "Unable to write to %s" and the keys after it are not written.
void WriteViewSettings(const std::string& fileName, const TViewSettings& settings);

}  // namespace quantivo
