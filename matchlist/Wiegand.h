#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The Wiegand output format as the five controls of the "Wiegand Format" page hold it.
struct TWiegandFormat {
    int32_t bitLength = 26;
    bool fcEnabled = true;
    int32_t fcLength = 8;
    int32_t fcValue = 1;
    bool parity = true;
};

// What the window shows for a format: the error marks of its three numeric fields,
// the largest id-number its id bits hold (0 or below: no bound) and the status text.
struct TWiegandCheck {
    bool bitLengthError = false;
    bool fcLengthError = false;
    bool fcValueError = false;
    bool valid = false;
    int64_t maxId = 0;
    std::string statusText;
};

TWiegandCheck CheckWiegandFormat(const TWiegandFormat& format);

// The frame value a device stores for the id-number: marker bit above the frame,
// parity bits, facility code and id bits. 0 for a bit length outside 1 to 47.
uint64_t EncodeWiegand(const TWiegandFormat& format, std::string_view idText);

// The id-number held in a frame value given as hexadecimal digits; 0 when the format
// leaves no id bits or the text is not hexadecimal.
int64_t DecodeWiegand(const TWiegandFormat& format, std::string_view hexText);

// Number of 1 bits, modulo 2.
int Parity64(uint64_t value);
