#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// An IPv4 address as the system's socket functions hold it: network byte order, so its
// bytes in memory are the dotted parts in order.
using InAddr = uint32_t;

// inet_addr: one to four parts separated by ".", each decimal, octal (leading 0) or
// hexadecimal (leading 0x); the last part fills the remaining bytes. Nothing may follow.
// Unlike the system function, 255.255.255.255 is a valid result here, not a failure.
std::optional<InAddr> InetAddr(std::string_view text);

// inet_ntoa: "%d.%d.%d.%d".
std::string InetNtoa(InAddr address);

// Only the plain dotted form: four parts, each a DecimalOctet. The TCP client resolves
// every other host text by name.
std::optional<InAddr> DottedAddress(std::string_view text);

// One part of the plain dotted form, as an address box holds it: one to three decimal
// digits and nothing else, at most 255. A leading 0 is a decimal digit ("010" is 10).
std::optional<uint8_t> DecimalOctet(std::string_view text);

// The address from its four parts in dotted order.
InAddr MakeInAddr(uint8_t a, uint8_t b, uint8_t c, uint8_t d);
