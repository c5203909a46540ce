#include "netsetup/ConfigDatagram.h"

#include <algorithm>

using namespace config_datagram;

std::array<uint8_t, kHeaderSize> ConfigHeader(uint8_t type)
{
    return {0, 0, 0, type};
}

std::size_t ReplyLength(uint8_t type)
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

bool IsConfigReply(std::span<const uint8_t> datagram, uint8_t type)
{
    const auto header = ConfigHeader(type);
    return datagram.size() >= ReplyLength(type) &&
           std::equal(header.begin(), header.end(), datagram.begin());
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
