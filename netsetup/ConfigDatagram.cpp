#include "netsetup/ConfigDatagram.h"

#include <algorithm>

using namespace config_datagram;

namespace {

// A search reply carries the module's MAC address at bytes 24 to 29.
constexpr std::size_t kSearchReplyMac = 24;

std::size_t MinimumLength(uint8_t type)
{
    switch (type) {
    case kSearchReply:
        return kSearchReplyMac + std::tuple_size_v<TMacAddress>;
    case kRecordReply:
        return kRecordDatagramSize;
    default:
        return kHeaderSize;
    }
}

}  // namespace

bool IsConfigReply(std::span<const uint8_t> datagram, uint8_t type)
{
    return datagram.size() >= MinimumLength(type) && datagram[0] == 0 && datagram[1] == 0 &&
           datagram[2] == 0 && datagram[3] == type;
}

std::optional<TMacAddress> SearchReplyMac(std::span<const uint8_t> datagram)
{
    if (!IsConfigReply(datagram, kSearchReply))
        return std::nullopt;
    TMacAddress mac;
    std::copy_n(datagram.begin() + kSearchReplyMac, mac.size(), mac.begin());
    return mac;
}

std::optional<TSetupRecord> SetupRecordReply(std::span<const uint8_t> datagram)
{
    if (!IsConfigReply(datagram, kRecordReply))
        return std::nullopt;
    TSetupRecord record;
    std::copy_n(datagram.begin() + kHeaderSize, record.size(), record.begin());
    return record;
}
