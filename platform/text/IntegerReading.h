#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The system's integer reading rule: leading blanks (32) skipped, optional '-' or '+',
// then decimal digits or a hexadecimal number introduced by "$", "x", "X", "0x" or "0X";
// the text ends right after the digits and holds at least one. A decimal value outside
// the range is unreadable; a hexadecimal one is the two's-complement pattern of the width
// read (more significant digits than the width holds is unreadable).
std::optional<int64_t> ReadInt64(std::string_view text);

// The value of one hexadecimal digit (0-9, A-F, a-f), or -1 for any other character.
int HexDigit(char c);
std::optional<int32_t> ReadInt32(std::string_view text);

inline int64_t StrToInt64Def(std::string_view text, int64_t def)
{
    return ReadInt64(text).value_or(def);
}
inline int32_t StrToIntDef(std::string_view text, int32_t def)
{
    return ReadInt32(text).value_or(def);
}
