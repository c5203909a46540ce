#include "platform/net/TableResolver.h"

#include "platform/text/Errors.h"

namespace {

InAddr MustParse(const std::string& address)
{
    const auto parsed = InetAddr(address);
    if (!parsed)
        throw EError("TableResolver: not an address: " + address);
    return *parsed;
}

}  // namespace

void TableResolver::AddName(const std::string& name, const std::vector<std::string>& addresses)
{
    auto& list = names_[name];
    for (const auto& address : addresses)
        list.push_back(MustParse(address));
}

void TableResolver::AddReverse(const std::string& address, const std::string& officialName)
{
    reverse_[MustParse(address)] = officialName;
}

std::optional<HostEntry> TableResolver::GetHostByName(std::string_view name)
{
    if (const auto it = names_.find(name); it != names_.end() && !it->second.empty())
        return HostEntry{it->first, it->second};
    if (const auto address = InetAddr(name))
        return HostEntry{std::string(name), {*address}};
    return std::nullopt;
}

std::optional<HostEntry> TableResolver::GetHostByAddr(InAddr address)
{
    if (const auto it = reverse_.find(address); it != reverse_.end())
        return HostEntry{it->second, {address}};
    return std::nullopt;
}
