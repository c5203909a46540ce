#pragma once

#include <cstdint>
#include <string_view>

namespace quantivo {

// The header 0110 above ten 6-bit groups, one per character of the first ten of the
// trimmed, upper-cased text, the last character lowest.
uint64_t Wiegand64Code(std::string_view text);

}  // namespace quantivo
