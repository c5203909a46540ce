#include "devicelink/TDeviceCommands.h"

#include "devicelink/CommandMessage.h"
#include "devicelink/IDeviceCommandContext.h"
#include "devicelink/ReceiveMatchList.h"
#include "devicelink/SendMatchList.h"
#include "devicelink/TDeviceInfo.h"

TDeviceCommands::TDeviceCommands(IDeviceCommandContext& context)
    : context_(context), gate_([&context](bool hold) { context.HoldOffInput(hold); }),
      connection_([&context](const std::string& line) { context.AppendLog(line); })
{
}

void TDeviceCommands::Run(const std::function<void()>& command)
{
    TCommandGate::TBusy busy(gate_);
    if (!busy.Entered())
        return;
    try {
        command();
    } catch (...) {
        // The default handler's box for the failure comes after the command: a close asked
        // for while the connect waited must reach the window before that box blocks it.
        LetPendingMessagesThrough();
        throw;
    }
}

void TDeviceCommands::btnSendClick()
{
    Run([this] { SendMatchListToSelected(connection_, context_); });
}

void TDeviceCommands::btnReceiveClick()
{
    Run([this] { ReceiveMatchList(connection_, context_); });
}

void TDeviceCommands::mnuHostInfoClick()
{
    Run([this] {
        const auto hosts = context_.SelectedDeviceHosts();
        if (!hosts.empty())
            ShowDeviceInfo(connection_, hosts.front());
    });
}
