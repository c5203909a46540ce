#include "platform/net/InetAddress.h"

#include "platform/text/Format.h"
#include "platform/text/IntegerReading.h"

#include <array>
#include <cstring>
#include <vector>

namespace {

// One part in C notation; nullopt when it is empty, holds a wrong digit or overflows.
std::optional<uint64_t> ReadPart(std::string_view part)
{
    int base = 10;
    if (part.size() > 1 && part[0] == '0' && (part[1] == 'x' || part[1] == 'X')) {
        base = 16;
        part.remove_prefix(2);
        if (part.empty())
            return std::nullopt;
    } else if (part.size() > 1 && part[0] == '0') {
        base = 8;
        part.remove_prefix(1);
    }
    if (part.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char c : part) {
        const int digit = HexDigit(c);
        if (digit < 0 || digit >= base)
            return std::nullopt;
        value = value * base + digit;
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return value;
}

std::vector<std::string_view> SplitDots(std::string_view text)
{
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        const size_t dot = text.find('.', start);
        parts.push_back(text.substr(start, dot == std::string_view::npos ? dot : dot - start));
        if (dot == std::string_view::npos)
            return parts;
        start = dot + 1;
    }
}

InAddr FromHostOrder(uint32_t value)
{
    return MakeInAddr(value >> 24, (value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

}  // namespace

InAddr MakeInAddr(uint8_t a, uint8_t b, uint8_t c, uint8_t d)
{
    const std::array<uint8_t, 4> bytes{a, b, c, d};
    InAddr address;
    std::memcpy(&address, bytes.data(), 4);
    return address;
}

std::optional<InAddr> InetAddr(std::string_view text)
{
    const auto parts = SplitDots(text);
    if (parts.size() > 4)
        return std::nullopt;
    std::vector<uint64_t> values;
    for (auto part : parts) {
        const auto value = ReadPart(part);
        if (!value)
            return std::nullopt;
        values.push_back(*value);
    }
    // Leading parts are single bytes; the last one fills what is left.
    const size_t lastBits = 8 * (5 - values.size());
    uint32_t result = 0;
    for (size_t i = 0; i + 1 < values.size(); ++i) {
        if (values[i] > 0xFF)
            return std::nullopt;
        result |= static_cast<uint32_t>(values[i]) << (24 - 8 * i);
    }
    if (lastBits < 32 && values.back() >= (uint64_t{1} << lastBits))
        return std::nullopt;
    result |= static_cast<uint32_t>(values.back());
    return FromHostOrder(result);
}

std::string InetNtoa(InAddr address)
{
    std::array<uint8_t, 4> bytes;
    std::memcpy(bytes.data(), &address, 4);
    return Format("%d.%d.%d.%d", bytes[0], bytes[1], bytes[2], bytes[3]);
}

std::optional<InAddr> DottedAddress(std::string_view text)
{
    const auto parts = SplitDots(text);
    if (parts.size() != 4)
        return std::nullopt;
    std::array<uint8_t, 4> bytes;
    for (size_t i = 0; i < 4; ++i) {
        const auto octet = DecimalOctet(parts[i]);
        if (!octet)
            return std::nullopt;
        bytes[i] = *octet;
    }
    return MakeInAddr(bytes[0], bytes[1], bytes[2], bytes[3]);
}

std::optional<uint8_t> DecimalOctet(std::string_view text)
{
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > 255)
        return std::nullopt;
    return static_cast<uint8_t>(value);
}
