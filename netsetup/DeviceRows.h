#pragma once

#include "netsetup/ConfigDatagram.h"

#include <string>

class TListView;

// The device list is the rows of the main window's HostList1, with no other copy: column 0
// a running number, then the ip-address, the hostname and the mac-address ("" unless the
// row came from a search).
constexpr int kDeviceIpColumn = 1;
constexpr int kDeviceHostnameColumn = 2;
constexpr int kDeviceMacColumn = 3;

// A MAC address as a device row shows it: six pairs of upper-case hexadecimal digits
// joined by "-".
std::string MacText(const TMacAddress& mac);

// Appends a device row, resolving whichever of name and address is missing (at most one
// look-up). A name that trims to nothing adds nothing. With an address given, the name is
// kept exactly as passed. Does not refresh the window: callers run UpdateUI.
void AddHost(TListView& hostList, const std::string& name, const std::string& ip);

// The host a device command talks to: the row's ip-address, or its hostname when the
// address is empty.
std::string TargetHost(const TListView& hostList, int row);
