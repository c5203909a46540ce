#pragma once

class IDeviceListHost;
class TLantronixConfig;

// The commands that fill and select the device list. Each takes the window through
// IDeviceListHost, so the window's handlers only forward to them.

// Search: replaces every device row by the modules that answer a one-second search, one
// row per answer in order, numbered from 1, with the sender's address, its reverse name
// and the module's MAC address. Shows the hourglass meanwhile; on every path, also when
// the search raises, the device list ends up refreshed by UpdateUI. A search that the
// session's end cuts short leaves the device rows as they were. Socket failures travel on to
// the caller.
void SearchDevices(IDeviceListHost& host, TLantronixConfig& config);

// Select All: selects every device row; no refresh.
void SelectAllDevices(IDeviceListHost& host);

// Add: adds the host typed into EditHost (a blank text adds nothing), then empties and
// focuses EditHost and refreshes.
void AddDeviceFromEditHost(IDeviceListHost& host);
