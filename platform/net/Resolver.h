#pragma once

#include "platform/net/InetAddress.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a host look-up finds: the official name and the addresses in the resolver's order.
struct HostEntry {
    std::string name;
    std::vector<InAddr> addresses;
};

// The host-name look-ups, replaceable so that tests never ask a real name server.
class Resolver {
public:
    virtual ~Resolver() = default;
    // gethostbyname: a numeric host text gives its own address.
    virtual std::optional<HostEntry> GetHostByName(std::string_view name) = 0;
    // gethostbyaddr for an IPv4 address.
    virtual std::optional<HostEntry> GetHostByAddr(InAddr address) = 0;
};

// The resolver in force: the system's unless a test installed another.
Resolver& CurrentResolver();
// Installs resolver (not owned) or, with nullptr, the system's again.
void SetResolverForTesting(Resolver* resolver);

// Shorthands for the resolver in force; each is one blocking call.
std::optional<HostEntry> GetHostByName(std::string_view name);
std::optional<HostEntry> GetHostByAddr(InAddr address);

// The address to send to: a plain dotted address as it is, any other text as a name, to
// the first address the resolver lists. A name that does not resolve raises ESocketError.
InAddr HostAddress(std::string_view host);
