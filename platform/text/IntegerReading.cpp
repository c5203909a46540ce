#include "platform/text/IntegerReading.h"

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

namespace {

// Gives the value's two's-complement pattern in the low `bits` bits.
std::optional<uint64_t> ReadPattern(std::string_view text, int bits)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }

    bool hex = false;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;

    const uint64_t mask = bits == 64 ? ~uint64_t{0} : (uint64_t{1} << bits) - 1;
    uint64_t value = 0;
    if (hex) {
        // Leading zeros carry no value, so only the digits after them count against the width.
        int significant = 0;
        for (; i < text.size(); ++i) {
            const int digit = HexDigit(text[i]);
            if (digit < 0)
                return std::nullopt;
            if (value != 0 || digit != 0)
                ++significant;
            if (significant > bits / 4)
                return std::nullopt;
            value = value << 4 | static_cast<uint64_t>(digit);
        }
    } else {
        // The magnitude may reach 2^(bits-1) only when it is negated.
        const uint64_t limit = (uint64_t{1} << (bits - 1)) - (negative ? 0 : 1);
        for (; i < text.size(); ++i) {
            if (text[i] < '0' || text[i] > '9')
                return std::nullopt;
            const auto digit = static_cast<uint64_t>(text[i] - '0');
            if (value > (limit - digit) / 10)
                return std::nullopt;
            value = value * 10 + digit;
        }
    }
    if (negative)
        value = ~value + 1;  // wraps: "-$80000000" stays the lowest value
    return value & mask;
}

}  // namespace

std::optional<int64_t> ReadInt64(std::string_view text)
{
    const auto pattern = ReadPattern(text, 64);
    if (!pattern)
        return std::nullopt;
    return static_cast<int64_t>(*pattern);
}

std::optional<int32_t> ReadInt32(std::string_view text)
{
    const auto pattern = ReadPattern(text, 32);
    if (!pattern)
        return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(*pattern));
}
