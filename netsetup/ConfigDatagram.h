#pragma once

#include "netsetup/TSetupRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// The datagrams of the network modules' configuration service. Every one begins with
// 00 00 00 and its type; the replies are read here from their bytes alone, without a
// socket, so that whatever a module (or anyone else) sends is checked in one place.
namespace config_datagram {
constexpr uint8_t kSearch = 0xF6;
constexpr uint8_t kSearchReply = 0xF7;
constexpr uint8_t kReadRecord = 0xF8;
constexpr uint8_t kRecordReply = 0xF9;
constexpr uint8_t kWriteConfig = 0xFA;
constexpr uint8_t kWriteConfirm = 0xFB;
constexpr uint8_t kIPSetup = 0xFC;
constexpr uint8_t kWriteAssign = 0xFD;

constexpr std::size_t kHeaderSize = 4;
constexpr std::size_t kRecordDatagramSize = kHeaderSize + kSetupRecordSize;
// A search reply carries the module's MAC address at bytes 24 to 29.
constexpr std::size_t kSearchReplyMac = 24;
}  // namespace config_datagram

using TMacAddress = std::array<uint8_t, 6>;

// The first bytes of every datagram of this type: 00 00 00 and the type.
std::array<uint8_t, config_datagram::kHeaderSize> ConfigHeader(uint8_t type);

// How long a reply of this type must be for what is read from it: a search reply 30 bytes,
// a record reply 124, any other 4.
std::size_t ReplyLength(uint8_t type);

// Whether the datagram is a reply of this type: its header, and ReplyLength long.
bool IsConfigReply(std::span<const uint8_t> datagram, uint8_t type);

// The module's MAC address from a search reply; nothing for any other datagram.
std::optional<TMacAddress> SearchReplyMac(std::span<const uint8_t> datagram);

// The setup record from a record reply; nothing for any other datagram.
std::optional<TSetupRecord> SetupRecordReply(std::span<const uint8_t> datagram);
