#include "matchlist/Wiegand.h"

#include "matchlist/PlateRules.h"
#include "platform/text/Format.h"
#include "platform/text/IntegerReading.h"

#include <bit>
#include <limits>

namespace {

// Counts come from user input and may be far outside 0 to 63: no shift by 64 or more
// and no negative shift may ever run.
uint64_t LowBits(uint64_t value, int64_t count)
{
    if (count <= 0)
        return 0;
    if (count >= 64)
        return value;
    return value & ((uint64_t{1} << count) - 1);
}

uint64_t ShiftLeft(uint64_t value, int64_t count)
{
    return count >= 64 ? 0 : value << count;
}

int64_t FacilityCodeLength(const TWiegandFormat& format)
{
    return format.fcEnabled ? format.fcLength : 0;
}

// Computed at 64 bits so extreme field values cannot overflow.
int64_t IdBitCount(const TWiegandFormat& format)
{
    return int64_t{format.bitLength} - FacilityCodeLength(format) - (format.parity ? 2 : 0);
}

int64_t MaxIdOf(int64_t idBits)
{
    if (idBits >= 63)
        return std::numeric_limits<int64_t>::max();
    if (idBits >= 1)
        return (int64_t{1} << idBits) - 1;
    return idBits >= -1 ? 0 : -1;
}

bool FacilityValueFits(int64_t value, int64_t length)
{
    if (value < 0 || length < 0)
        return false;
    return length >= 63 || value <= (int64_t{1} << length) - 1;
}

}  // namespace

TWiegandCheck CheckWiegandFormat(const TWiegandFormat& format)
{
    TWiegandCheck check;
    const int64_t a = format.bitLength;
    const int64_t b = FacilityCodeLength(format);
    check.bitLengthError = a < 0 || a > 46;
    if (format.fcEnabled) {
        check.fcLengthError = b < 0 || b > 46 || a < b;
        check.fcValueError = !FacilityValueFits(format.fcValue, b);
    }
    check.maxId = MaxIdOf(IdBitCount(format));
    check.valid = !check.bitLengthError && !check.fcLengthError && !check.fcValueError;
    if (check.valid) {
        check.statusText = Format("Wiegand %d-bit", format.bitLength);
        if (b > 0)
            check.statusText += Format(" FC%d", format.fcValue);
    } else {
        check.statusText = "Wiegand format invalid";
    }
    return check;
}

uint64_t EncodeWiegand(const TWiegandFormat& format, std::string_view idText)
{
    const int64_t a = format.bitLength;
    if (a < 1 || a > 47)
        return 0;
    const int64_t b = FacilityCodeLength(format);
    const int64_t c = IdBitCount(format);

    uint64_t v = 0;
    if (c > 0)
        v = LowBits(static_cast<uint64_t>(ReadIdNumber(idText)), c);
    // With parity on and the facility code as long as the frame or one bit shorter, it
    // has no room beside the parity bits (c below 0) and is left out.
    if (b > 0 && c >= 0)
        v |= ShiftLeft(LowBits(static_cast<uint64_t>(int64_t{format.fcValue}), b), c);

    if (format.parity) {
        // The a - 2 data bits split into two halves of h bits; for an odd a the middle
        // data bit belongs to both.
        const int64_t h = (a - 1) / 2;
        const uint64_t lowHalf = LowBits(~uint64_t{0}, h);
        const uint64_t highHalf = a % 2 == 0 ? lowHalf << h : (h > 0 ? lowHalf << (h - 1) : 0);
        const int lowOdd = Parity64(v & lowHalf);
        const int highOdd = Parity64(v & highHalf);
        v <<= 1;
        if (highOdd == 1)
            v |= uint64_t{1} << (a - 1);
        if (lowOdd == 0)
            v |= 1;
    }
    return v | (uint64_t{1} << a);
}

int64_t DecodeWiegand(const TWiegandFormat& format, std::string_view hexText)
{
    const int64_t c = IdBitCount(format);
    if (c <= 0)
        return 0;
    std::string text = "$";
    text += hexText;
    auto v = static_cast<uint64_t>(StrToInt64Def(text, 0));
    if (format.parity)
        v >>= 1;
    return static_cast<int64_t>(LowBits(v, c));
}

int Parity64(uint64_t value)
{
    return std::popcount(value) & 1;
}
