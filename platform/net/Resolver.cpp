#include "platform/net/Resolver.h"

#include "platform/net/ESocketError.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <string>

namespace {

// The system's IPv4 resolver (files, DNS, whatever the host is set up for).
class SystemResolver final : public Resolver {
public:
    std::optional<HostEntry> GetHostByName(std::string_view name) override
    {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_CANONNAME;
        addrinfo* list = nullptr;
        const std::string host(name);
        if (getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0 || list == nullptr)
            return std::nullopt;
        HostEntry entry;
        entry.name = list->ai_canonname ? list->ai_canonname : host;
        for (const addrinfo* ai = list; ai != nullptr; ai = ai->ai_next) {
            const auto* sin = reinterpret_cast<const sockaddr_in*>(ai->ai_addr);
            const InAddr address = sin->sin_addr.s_addr;
            if (std::find(entry.addresses.begin(), entry.addresses.end(), address) ==
                entry.addresses.end())
                entry.addresses.push_back(address);
        }
        freeaddrinfo(list);
        return entry;
    }

    std::optional<HostEntry> GetHostByAddr(InAddr address) override
    {
        sockaddr_in sin{};
        sin.sin_family = AF_INET;
        sin.sin_addr.s_addr = address;
        char host[NI_MAXHOST];
        if (getnameinfo(reinterpret_cast<const sockaddr*>(&sin), sizeof sin, host, sizeof host,
                        nullptr, 0, NI_NAMEREQD) != 0)
            return std::nullopt;
        return HostEntry{host, {address}};
    }
};

Resolver* resolverOverride = nullptr;

}  // namespace

Resolver& CurrentResolver()
{
    static SystemResolver system;
    return resolverOverride ? *resolverOverride : system;
}

void SetResolverForTesting(Resolver* resolver)
{
    resolverOverride = resolver;
}

std::optional<HostEntry> GetHostByName(std::string_view name)
{
    return CurrentResolver().GetHostByName(name);
}

std::optional<HostEntry> GetHostByAddr(InAddr address)
{
    return CurrentResolver().GetHostByAddr(address);
}

InAddr HostAddress(std::string_view host)
{
    if (const auto dotted = DottedAddress(host))
        return *dotted;
    const auto entry = GetHostByName(host);
    if (!entry || entry->addresses.empty())
        throw ESocketError(HOST_NOT_FOUND, hstrerror(HOST_NOT_FOUND));
    return entry->addresses.front();
}
