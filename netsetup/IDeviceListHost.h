#pragma once

#include <string>

class TListView;

// What the device-list commands need of the main window: the device rows of HostList1
// (no second copy exists), the input field EditHost and the refresh.
class IDeviceListHost {
public:
    virtual ~IDeviceListHost() = default;

    virtual TListView& HostList() = 0;

    virtual std::string EditHostText() const = 0;
    virtual void SetEditHostText(const std::string& text) = 0;
    virtual void FocusEditHost() = 0;

    virtual void UpdateUI() = 0;
};
