#include "platform/net/NetPorts.h"

namespace {
constexpr uint16_t kDevicePort = 10001;
uint16_t devicePortOverride = 0;
}  // namespace

uint16_t DevicePort()
{
    return devicePortOverride != 0 ? devicePortOverride : kDevicePort;
}

void SetDevicePortForTesting(uint16_t port)
{
    devicePortOverride = port;
}
