#include "calculator/USHA1.h"

#include <bit>
#include <cstring>

namespace quantivo {

namespace {

constexpr size_t BlockSize = 64;
// The message, its 0x80 terminator and the 64-bit length must share one block.
constexpr size_t MaxTextLength = BlockSize - 9;

}  // namespace

uint32_t SwapDWord(uint32_t value)
{
    return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

uint32_t RotateLeft32(uint32_t value, unsigned n)
{
    n &= 31;
    // A shift by 32 is undefined, so n = 0 must not reach the right shift.
    return n == 0 ? value : (value << n) | (value >> (32 - n));
}

void SHA1Digest(std::string_view text, TSHA1Digest& digest)
{
    if (text.size() > MaxTextLength)
        return;

    unsigned char block[BlockSize] = {};
    std::memcpy(block, text.data(), text.size());
    block[text.size()] = 0x80;

    uint32_t w[80];
    for (int i = 0; i < 14; ++i) {
        uint32_t word;
        std::memcpy(&word, block + 4 * i, 4);
        w[i] = std::endian::native == std::endian::little ? SwapDWord(word) : word;
    }
    w[14] = 0;
    w[15] = static_cast<uint32_t>(text.size() * 8);
    for (int i = 16; i < 80; ++i)
        w[i] = RotateLeft32(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);

    const uint32_t h0 = 0x67452301, h1 = 0xEFCDAB89, h2 = 0x98BADCFE, h3 = 0x10325476,
                   h4 = 0xC3D2E1F0;
    uint32_t a = h0, b = h1, c = h2, d = h3, e = h4;
    for (int i = 0; i < 80; ++i) {
        uint32_t f, k;
        if (i < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999;
        } else if (i < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1;
        } else if (i < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDC;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6;
        }
        const uint32_t temp = RotateLeft32(a, 5) + f + e + w[i] + k;
        e = d;
        d = c;
        c = RotateLeft32(b, 30);
        b = a;
        a = temp;
    }
    digest = {h0 + a, h1 + b, h2 + c, h3 + d, h4 + e};
}

}  // namespace quantivo
