#pragma once

#include <QString>

#include <cstdint>
#include <span>

// UTF-16 text as the system's blocks hold it (version blocks, drag data): little-endian
// units up to the first zero unit, or to the end of the bytes when there is none. An odd
// last byte is no unit.
QString FromUtf16Le(std::span<const uint8_t> bytes);
