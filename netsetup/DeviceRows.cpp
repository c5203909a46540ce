#include "netsetup/DeviceRows.h"

#include "netsetup/IPHelper.h"
#include "platform/net/InetAddress.h"
#include "platform/text/Format.h"
#include "platform/text/TextCase.h"
#include "platform/toolkit/TListView.h"

void AddHost(TListView& hostList, const std::string& name, const std::string& ip)
{
    const std::string trimmed = Trim(name);
    if (trimmed.empty())
        return;
    std::string rowName = name;
    std::string rowIp = ip;
    if (rowIp.empty()) {
        if (!InetAddr(trimmed)) {
            rowName = trimmed;
            rowIp = HostNameToIP(trimmed);
        } else {
            rowIp = trimmed;
            rowName = IPToHostName(rowIp);
            if (rowName.empty())
                rowName = rowIp;
        }
    }
    // The number is fixed now and never renumbered, so after deletions numbers may repeat.
    hostList.AddRow(Format("%d", hostList.Count() + 1), {rowIp, rowName, ""});
}

std::string TargetHost(const TListView& hostList, int row)
{
    std::string host = GetColumnText(hostList, row, kDeviceIpColumn);
    return host.empty() ? GetColumnText(hostList, row, kDeviceHostnameColumn) : host;
}

std::string MacText(const TMacAddress& mac)
{
    return Format("%.2x-%.2x-%.2x-%.2x-%.2x-%.2x", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
}
