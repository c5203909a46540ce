#include "netsetup/DeviceListCommands.h"

#include "netsetup/DeviceRows.h"
#include "netsetup/IDeviceListHost.h"
#include "netsetup/LantronixConfig.h"
#include "platform/text/Format.h"
#include "platform/toolkit/TListView.h"
#include "platform/ui/Ui.h"

#include <algorithm>

namespace {

// The search takes one second after the last reply.
constexpr int kSearchTimeoutMs = 1000;

// Replaces the device rows by the modules that answer, under the hourglass.
void FillFromSearch(TListView& list, TLantronixConfig& config)
{
    const ui::BusyCursor busy;
    list.Clear();
    config.SearchDevices(kSearchTimeoutMs);
    // DeviceCount and Devices move together; the bound keeps a mismatch from reading past.
    const int count = std::min<int>(config.DeviceCount, static_cast<int>(config.Devices.size()));
    for (int i = 0; i < count; ++i) {
        const TDeviceEntry& entry = config.Devices[i];
        const auto& ip = entry.IP;
        list.AddRow(Format("%d", i + 1), {Format("%d.%d.%d.%d", ip[0], ip[1], ip[2], ip[3]),
                                          entry.Name, MacText(entry.MAC)});
    }
}

}  // namespace

void SearchDevices(IDeviceListHost& host, TLantronixConfig& config)
{
    // The hourglass is gone before the refresh, on every path.
    try {
        FillFromSearch(host.HostList(), config);
    } catch (...) {
        host.UpdateUI();
        throw;
    }
    host.UpdateUI();
}

void SelectAllDevices(IDeviceListHost& host)
{
    host.HostList().SelectAll();
}

void AddDeviceFromEditHost(IDeviceListHost& host)
{
    AddHost(host.HostList(), host.EditHostText(), "");
    host.SetEditHostText("");
    host.FocusEditHost();
    host.UpdateUI();
}
