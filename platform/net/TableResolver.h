#pragma once

#include "platform/net/Resolver.h"

#include <map>
#include <string>
#include <vector>

// A resolver answering from a table, for tests: names map to address lists, addresses
// back to official names. A numeric host text resolves to itself, as the system's does.
class TableResolver final : public Resolver {
public:
    // Addresses are dotted texts.
    void AddName(const std::string& name, const std::vector<std::string>& addresses);
    void AddReverse(const std::string& address, const std::string& officialName);

    std::optional<HostEntry> GetHostByName(std::string_view name) override;
    std::optional<HostEntry> GetHostByAddr(InAddr address) override;

private:
    std::map<std::string, std::vector<InAddr>, std::less<>> names_;
    std::map<InAddr, std::string> reverse_;
};
