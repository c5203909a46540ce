#include "devicelink/TDeviceInfo.h"

#include "devicelink/CommandMessage.h"
#include "devicelink/TDeviceConnection.h"
#include "platform/text/Format.h"
#include "platform/text/IntegerReading.h"
#include "platform/ui/Ui.h"

#include <algorithm>

namespace {

constexpr int kTimeout = 1000;

std::string Substring(const std::string& text, size_t first, size_t length)
{
    return first < text.size() ? text.substr(first, length) : std::string();
}

}  // namespace

int32_t HexField(const std::string& text, size_t first, size_t length)
{
    std::string hex = "$";
    hex += Substring(text, first, length);
    return StrToIntDef(hex, 0);
}

TDeviceInfo ReadDeviceInfo(const std::string& qve, const std::string& qls, const std::string& qtm)
{
    TDeviceInfo info;
    info.VersionText = qve;
    std::string number = Substring(qve, 3, 99);
    number.erase(std::remove(number.begin(), number.end(), '.'), number.end());
    info.Version = StrToIntDef(number, 0);
    info.Capacity = HexField(qls, 4, 4);
    info.Count = HexField(qls, 0, 4);
    info.Free = info.Capacity - info.Count;
    info.Mode = StrToIntDef(qtm, -1);
    info.ListModeEnabled = info.Mode == 0 || (info.Mode == 4 && info.Version >= 110);
    return info;
}

bool GetDeviceInfo(TDeviceConnection& connection, TDeviceInfo& info)
{
    std::string qve, qls, qtm;
    const bool ok = connection.SendCommand("QVE", qve, kTimeout) &&
                    connection.SendCommand("QLS", qls, kTimeout) &&
                    connection.SendCommand("QTM", qtm, kTimeout);
    info = ok ? ReadDeviceInfo(qve, qls, qtm) : TDeviceInfo{};
    return ok;
}

std::string DeviceInfoText(const TDeviceInfo& info)
{
    std::string text = "Device info:\r\rFirmware version: " + info.VersionText + "\r";
    if (!info.ListModeEnabled)
        return text + "Match-list mode not enabled (check dip-switches)";
    text += info.Mode == 0 ? "Match-list mode enabled - " : "Match-list XL mode enabled - ";
    // A device that reports no capacity is shown as 0.0 % used rather than failing.
    const int32_t used = info.Count * 100;
    const double percentage = info.Capacity != 0 ? static_cast<double>(used) / info.Capacity : 0.0;
    return text + Format("Used %d of %d (%.1f%%)", info.Count, info.Capacity, percentage);
}

void ShowDeviceInfo(TDeviceConnection& connection, const std::string& host)
{
    TDeviceConnection::TStopAtSessionEnd stopAtSessionEnd(connection);
    const bool connected = connection.ConnectDevice(host);
    TDeviceConnection::TDisconnectOnExit disconnect(connection);
    TDeviceInfo info;
    const bool read = connected && GetDeviceInfo(connection, info);
    if (connection.Stopped())
        return;  // nobody is there to read it
    if (read)
        ShowCommandMessage(ui::MsgKind::Information, DeviceInfoText(info), ui::Buttons::OK);
    else
        ShowCommandMessage(ui::MsgKind::Error, "Error: failed to get device info", ui::Buttons::OK);
}
