#pragma once

#include <cstdint>
#include <string>

class TDeviceConnection;

// What a device reports about itself.
struct TDeviceInfo {
    int32_t Version = 0;
    std::string VersionText;
    int32_t Mode = 0;  // 0 normal, 4 XL; -1 when the reply was no number
    bool ListModeEnabled = false;
    int32_t Capacity = 0;
    int32_t Count = 0;
    int32_t Free = 0;
};

// Asks QVE, QLS and QTM over the open connection; false (and a cleared record) when one
// was cancelled in its failure box.
bool GetDeviceInfo(TDeviceConnection& connection, TDeviceInfo& info);

// The record from the three replies (the texts after the echoes).
TDeviceInfo ReadDeviceInfo(const std::string& qve, const std::string& qls, const std::string& qtm);

// `length` characters of text from `first` (0-based; fewer when the text is shorter) read
// as hexadecimal, every one a hexadecimal digit; 0 when they are not.
int32_t HexField(const std::string& text, size_t first, size_t length);

// The text of the "Get device info" box.
std::string DeviceInfoText(const TDeviceInfo& info);

// "Get device info" for the host: connect, ask, show the record or the failure, disconnect.
// A connect failure escapes as ESocketError. The session's end stops it at its next
// exchange, and nothing is shown.
void ShowDeviceInfo(TDeviceConnection& connection, const std::string& host);
