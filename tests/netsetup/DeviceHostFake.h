#pragma once

#include "netsetup/IDeviceListHost.h"
#include "platform/toolkit/TListView.h"

#include <functional>
#include <string>
#include <vector>

// The main window's device list and input field, without the window.
class DeviceHostFake final : public IDeviceListHost {
public:
    DeviceHostFake();

    TListView& HostList() override { return hosts; }
    std::string EditHostText() const override { return editHost; }
    void SetEditHostText(const std::string& text) override { editHost = text; }
    void FocusEditHost() override { ++focused; }
    void UpdateUI() override
    {
        ++updates;
        if (onUpdate)
            onUpdate();
    }

    // number | ip-address | hostname | mac-address
    std::vector<std::string> Row(int row) const;
    // Adds a row as the settings file or Add would leave it.
    void AddTypedRow(const std::string& ip, const std::string& hostname);

    TListView hosts;
    std::string editHost;
    int focused = 0;
    int updates = 0;
    std::function<void()> onUpdate;
};
