#pragma once

#include <cstdint>

// The ports and addresses of the devices. Production values unless a test points them
// elsewhere; this is the one seam for them.
uint16_t DevicePort();

// 0 returns to the production value.
void SetDevicePortForTesting(uint16_t port);
