#include "platform/net/NetPorts.h"

namespace {
constexpr uint16_t kDevicePort = 10001;
constexpr uint16_t kConfigPort = 30718;
constexpr uint32_t kBroadcastAddress = 0xFFFFFFFFu;
uint16_t devicePortOverride = 0;
uint16_t configPortOverride = 0;
uint32_t broadcastOverride = 0;
}  // namespace

uint16_t DevicePort()
{
    return devicePortOverride != 0 ? devicePortOverride : kDevicePort;
}

void SetDevicePortForTesting(uint16_t port)
{
    devicePortOverride = port;
}

uint16_t ConfigPort()
{
    return configPortOverride != 0 ? configPortOverride : kConfigPort;
}

void SetConfigPortForTesting(uint16_t port)
{
    configPortOverride = port;
}

uint32_t BroadcastAddress()
{
    return broadcastOverride != 0 ? broadcastOverride : kBroadcastAddress;
}

void SetBroadcastAddressForTesting(uint32_t address)
{
    broadcastOverride = address;
}
