#include "netsetup/DeviceListCommands.h"

#include "netsetup/DeviceRows.h"
#include "netsetup/IDeviceListHost.h"
#include "netsetup/LantronixConfig.h"
#include "platform/text/Format.h"
#include "platform/toolkit/TListView.h"
#include "platform/ui/SessionEnd.h"
#include "platform/ui/Ui.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// The search takes one second after the last reply.
constexpr int kSearchTimeoutMs = 1000;

// Replaces the device rows by the modules that answer, under the hourglass. A search that
// the session's end cut short leaves the rows as they were: the exit writes them, and part
// of a search must not take the place of the person's device list.
void FillFromSearch(TListView& list, TLantronixConfig& config)
{
    const ui::BusyCursor busy;
    std::vector<std::pair<std::string, std::vector<std::string>>> before;
    for (int row = 0; row < list.Count(); ++row) {
        std::vector<std::string> subItems;
        for (int i = 0; i < list.SubItemCount(row); ++i)
            subItems.push_back(list.SubItem(row, i));
        before.emplace_back(list.Caption(row), std::move(subItems));
    }
    list.Clear();
    config.SearchDevices(kSearchTimeoutMs);
    if (ui::SessionEnding()) {
        for (auto& [caption, subItems] : before)
            list.AddRow(caption, std::move(subItems));
        return;
    }
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
