#include "tests/netsetup/DeviceHostFake.h"

#include "platform/text/Format.h"

DeviceHostFake::DeviceHostFake()
{
    for (const char* caption : {" ", "ip-address", "hostname", "mac-address"})
        hosts.AddColumn(caption, 100);
    hosts.SetMultiSelect(true);
}

std::vector<std::string> DeviceHostFake::Row(int row) const
{
    std::vector<std::string> texts;
    for (int column = 0; column < 4; ++column)
        texts.push_back(GetColumnText(hosts, row, column));
    return texts;
}

void DeviceHostFake::AddTypedRow(const std::string& ip, const std::string& hostname)
{
    hosts.AddRow(Format("%d", hosts.Count() + 1), {ip, hostname, ""});
}
