#include "calculator/UWG26.h"

namespace quantivo {

int CountBits(uint32_t value)
{
    int count = 0;
    for (; value != 0; value >>= 1)
        count += static_cast<int>(value & 1);
    return count;
}

uint32_t Wiegand26Frame(uint32_t truncatedDigest)
{
    uint32_t frame = (truncatedDigest << 1) & 0x1FFFFFE;
    if (CountBits(frame & 0x1FFE000) % 2 != 0)
        frame |= 0x2000000;
    if (CountBits(frame & 0x1FFE) % 2 == 0)
        frame |= 0x1;
    return frame;
}

}  // namespace quantivo
