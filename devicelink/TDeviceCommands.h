#pragma once

#include "devicelink/TCommandGate.h"
#include "devicelink/TDeviceConnection.h"

#include <functional>

class IDeviceCommandContext;

// The device commands of the main window, which owns one of these and calls it from its
// handlers. It owns the connection TCP1 and the gate that holds off every other command
// while one runs; a command started while another runs does nothing.
class TDeviceCommands final {
public:
    explicit TDeviceCommands(IDeviceCommandContext& context);
    TDeviceCommands(const TDeviceCommands&) = delete;
    TDeviceCommands& operator=(const TDeviceCommands&) = delete;

    // btnSend / mnuSend.
    void btnSendClick();
    // btnReceive / mnuReceive / a device row dropped on the plate list.
    void btnReceiveClick();
    // mnuHostInfo / popHostInfo.
    void mnuHostInfoClick();

    TCommandGate& Gate() { return gate_; }
    TDeviceConnection& Connection() { return connection_; }

private:
    // Runs the command unless another one runs.
    void Run(const std::function<void()>& command);

    IDeviceCommandContext& context_;
    TCommandGate gate_;
    TDeviceConnection connection_;
};
