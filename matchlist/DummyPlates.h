#pragma once

#include <cstdint>
#include <string>

// Random entries for trials in the debug view. The sequence starts afresh with every
// program start (the seed is 0, never taken from the clock), so a trial can be repeated.
class TDummyPlates final {
public:
    // A plate digit-letter-letter-letter-digit-digit and an id-number from 0 to 65535.
    void Next(std::string& plate, std::string& idText);

private:
    // One of n values: seed := seed * 134775813 + 1 (mod 2^32), value = seed * n div 2^32.
    uint32_t Draw(uint32_t n);

    uint32_t seed_ = 0;
};
