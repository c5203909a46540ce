#include "netsetup/InitialConfig.h"

#include "netsetup/DeviceRows.h"
#include "netsetup/IDeviceListHost.h"
#include "netsetup/LantronixConfig.h"
#include "platform/toolkit/TListView.h"
#include "platform/ui/Ui.h"

#include <string>
#include <utility>

namespace {

// The fixed single bytes of the initial configuration: offset, value.
constexpr std::pair<std::size_t, uint8_t> kFixedBytes[] = {
    {16, 0x4C}, {17, 0x08}, {18, 0x00}, {28, 0xC0}, {32, 0x0A}, {33, 0x00}, {34, 0xF0}, {35, 0x20}};
// The device's command service listens here.
constexpr uint16_t kDataPort = 10001;

template <typename T> void SetIfChanged(T& field, T value, bool& changed)
{
    if (field != value) {
        field = value;
        changed = true;
    }
}

}  // namespace

void SetByteIfChanged(uint8_t& field, uint8_t value, bool& changed)
{
    SetIfChanged(field, value, changed);
}

void SetWordIfChanged(uint16_t& field, uint16_t value, bool& changed)
{
    SetIfChanged(field, value, changed);
}

bool ApplyInitialConfig(TSetupRecord& record)
{
    bool changed = false;
    for (const auto& [offset, value] : kFixedBytes)
        SetByteIfChanged(record[offset], value, changed);
    constexpr std::size_t port = setup_record::kDataPort;
    uint16_t word = static_cast<uint16_t>(record[port] | record[port + 1] << 8);
    SetWordIfChanged(word, kDataPort, changed);
    record[port] = static_cast<uint8_t>(word & 0xFF);
    record[port + 1] = static_cast<uint8_t>(word >> 8);
    return changed;
}

void InitializeConfig(IDeviceListHost& host, TLantronixConfig& config)
{
    const TListView& list = host.HostList();
    const int row = list.FirstSelected();
    if (row < 0)
        return;
    const std::string target = TargetHost(list, row);
    TSetupRecord record{};
    if (config.GetSetupRecord(target, record)) {
        if (!ApplyInitialConfig(record)) {
            ui::ShowMessage(ui::MsgKind::Information, "OK, initialization done (no update)");
            return;
        }
        if (config.SetSetupRecord(target, record, false)) {
            ui::ShowMessage(ui::MsgKind::Information, "OK, initialization done (device reboots)");
            return;
        }
    }
    ShowSetupFailed(target);
}
