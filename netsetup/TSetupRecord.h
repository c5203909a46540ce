#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The network module's configuration block, read and written whole: the bytes the system
// gives no meaning to go back to the module exactly as they were read.
constexpr std::size_t kSetupRecordSize = 120;
using TSetupRecord = std::array<uint8_t, kSetupRecordSize>;

// Offsets within the record of the bytes the system reads or sets.
namespace setup_record {
// 4 bytes, dotted order; byte 0 = 0: the module obtains its address automatically.
constexpr std::size_t kAddress = 0;
// Zero bits at the low end of the subnet mask; 0: derived from the address class.
constexpr std::size_t kHostBits = 6;
// 4 bytes, dotted order.
constexpr std::size_t kGateway = 12;
// The device's data port, 16-bit little-endian.
constexpr std::size_t kDataPort = 20;
}  // namespace setup_record
