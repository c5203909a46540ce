#pragma once

#include <cstdint>

namespace quantivo {

// Frames the 24 bits of a truncated digest (higher bits are ignored) in bits 24 to 1,
// with an even parity bit 25 over bits 24 to 13 and an odd parity bit 0 over 12 to 1.
uint32_t Wiegand26Frame(uint32_t truncatedDigest);

int CountBits(uint32_t value);

}  // namespace quantivo
