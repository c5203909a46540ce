#include "netsetup/IPHelper.h"

#include "platform/net/InetAddress.h"
#include "platform/net/Resolver.h"
#include "platform/text/IntegerReading.h"

// The system socket library needs no start-up here, so the look-ups have none to balance.

std::string IPToHostName(const std::string& ip)
{
    const auto address = InetAddr(ip);
    if (!address)
        return {};
    const auto entry = GetHostByAddr(*address);
    if (!entry)
        return {};
    return entry->name.substr(0, entry->name.find('.'));
}

std::string HostNameToIP(const std::string& name)
{
    const auto entry = GetHostByName(name);
    if (!entry || entry->addresses.empty())
        return {};
    return InetNtoa(entry->addresses.back());
}

std::string FetchToken(std::string& text, char separator)
{
    const std::size_t at = text.find(separator);
    std::string token = text.substr(0, at);
    text.erase(0, at == std::string::npos ? at : at + 1);
    return token;
}

int MacTextToBytes(std::string_view text, std::array<uint8_t, 8>& bytes)
{
    std::string rest(text);
    int count = 0;
    while (!rest.empty()) {
        if (count == static_cast<int>(bytes.size()))
            return 0;
        const std::string digits = FetchToken(rest, '-');
        const auto group = ReadInt32("$" + digits);
        if (!group)
            return 0;
        bytes[count++] = static_cast<uint8_t>(*group & 0xFF);
    }
    return count;
}
