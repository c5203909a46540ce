#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace quantivo {

// H0 to H4 of a SHA-1 digest, H0 first (H0 holds the digest's first four bytes, most
// significant byte first).
using TSHA1Digest = std::array<uint32_t, 5>;

// SHA-1 of a text that fits one 64-byte block: 0 to 55 bytes. A longer text leaves the
// record untouched; the calculator never passes more than 16 bytes.
void SHA1Digest(std::string_view text, TSHA1Digest& digest);

uint32_t SwapDWord(uint32_t value);
// n is taken modulo 32.
uint32_t RotateLeft32(uint32_t value, unsigned n);

}  // namespace quantivo
