#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Host-name and address look-ups on the resolver in force (platform/net), and the text
// helpers that take device addresses apart. Each look-up is one blocking resolver call;
// one that finds nothing, or that the resolver cannot perform, gives empty text.

// The short name of an IPv4 address (its official name up to the first "."), by reverse
// look-up.
std::string IPToHostName(const std::string& ip);

// The dotted address of a host name by forward look-up: the last of the addresses the
// resolver lists.
std::string HostNameToIP(const std::string& name);

// Cuts the first token off the front of text: the part before the first separator, which
// goes with it; with no separator the whole text, leaving text empty. Any length.
std::string FetchToken(std::string& text, char separator);

// Reads hexadecimal groups separated by "-" (00-20-4A-0B-0C-0D) into bytes, the low 8 bits
// of each group in order, and gives how many. A group that is not hexadecimal (an empty
// one included) or a ninth group gives 0. Nothing is ever written past bytes' end.
int MacTextToBytes(std::string_view text, std::array<uint8_t, 8>& bytes);
