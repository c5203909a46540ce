#include "devicelink/TDeviceCommands.h"

#include "devicelink/IDeviceCommandContext.h"
#include "devicelink/ReceiveMatchList.h"
#include "devicelink/SendMatchList.h"
#include "devicelink/TDeviceInfo.h"

TDeviceCommands::TDeviceCommands(IDeviceCommandContext& context)
    : context_(context), gate_([&context](bool hold) { context.HoldOffInput(hold); }),
      connection_([&context](const std::string& line) { context.AppendLog(line); })
{
}

void TDeviceCommands::btnSendClick()
{
    TCommandGate::TBusy busy(gate_);
    if (busy.Entered())
        SendMatchListToSelected(connection_, context_);
}

void TDeviceCommands::btnReceiveClick()
{
    TCommandGate::TBusy busy(gate_);
    if (busy.Entered())
        ReceiveMatchList(connection_, context_);
}

void TDeviceCommands::mnuHostInfoClick()
{
    TCommandGate::TBusy busy(gate_);
    if (!busy.Entered())
        return;
    const auto hosts = context_.SelectedDeviceHosts();
    if (!hosts.empty())
        ShowDeviceInfo(connection_, hosts.front());
}
