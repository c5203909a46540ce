#pragma once

#include <cstdint>

// The ports and addresses of the devices. Production values unless a test points them
// elsewhere; this is the one seam for them.
uint16_t DevicePort();

// 0 returns to the production value.
void SetDevicePortForTesting(uint16_t port);

// The network modules' configuration service (UDP).
uint16_t ConfigPort();

// 0 returns to the production value.
void SetConfigPortForTesting(uint16_t port);

// Where a search and an address assignment are broadcast: 255.255.255.255, as a network
// byte order address (InAddr).
uint32_t BroadcastAddress();

// Tests outside a network namespace point the broadcast at a loopback address so that
// nothing leaves the machine; 0 returns to the production value.
void SetBroadcastAddressForTesting(uint32_t address);
