#include "devicelink/ReceiveMatchList.h"

#include "devicelink/CommandMessage.h"
#include "devicelink/IDeviceCommandContext.h"
#include "devicelink/TDeviceConnection.h"
#include "devicelink/TDeviceInfo.h"
#include "devicelink/TProgressSteps.h"
#include "platform/text/Format.h"
#include "platform/ui/Ui.h"

namespace {

constexpr int kTimeout = 1000;
// A device that stops answering in the middle of its list would otherwise hold the
// window for a second per remaining entry (up to 18 hours): this many silent entries in a
// row end the upload as a failed one.
constexpr int kSilentEntriesLimit = 3;

void UploadAborted()
{
    ShowCommandMessage(ui::MsgKind::Warning, "Warning: upload aborted", ui::Buttons::OK);
}

void AddDecoded(IDeviceCommandContext& context, const std::string& plate, const std::string& value)
{
    const int64_t id = context.DecodeWiegand(value);
    if (id > 0)
        context.AddPlateEntry(plate, Format("%d", id));
}

// Reads the entries of a device whose list holds count of them; false when one was
// cancelled.
bool ReceiveEntries(TDeviceConnection& connection, IDeviceCommandContext& context,
                    TProgressSteps& progress, int count)
{
    std::string reply;
    if (count > 0)
        progress.Start(count);
    int silentEntries = 0;
    for (int i = 0; i < count; ++i) {
        progress.SetPosition(i);
        ui::CurrentUi().ProcessMessages();
        const bool answered = connection.SendCommand(Format("QLI%.4x", i), reply, kTimeout);
        const bool silent = connection.LastCommandEnd() == TDeviceConnection::TCommandEnd::TimedOut;
        silentEntries = silent ? silentEntries + 1 : 0;
        if (!answered || silentEntries == kSilentEntriesLimit) {
            UploadAborted();
            return false;
        }
        const size_t eq = reply.find('=');
        if (eq == std::string::npos || eq == 0)
            continue;
        AddDecoded(context, reply.substr(0, eq), reply.substr(eq + 1));
    }
    return true;
}

void Receive(TDeviceConnection& connection, IDeviceCommandContext& context)
{
    ui::BusyCursor hourglass;
    TProgressSteps progress(context);
    const auto hosts = context.SelectedDeviceHosts();
    if (hosts.empty())
        return;
    const bool connected = connection.ConnectDevice(hosts.front());
    TDeviceConnection::TDisconnectOnExit disconnect(connection);
    std::string reply;
    // The person's list goes only for the list of a device that has answered: one that
    // cannot be reached, stays silent or whose count was given up leaves it as it was.
    if (!connected || !connection.SendCommand("QLS", reply, kTimeout) ||
        connection.LastCommandEnd() != TDeviceConnection::TCommandEnd::Echo)
        return;
    context.ClearMatchList();
    if (!ReceiveEntries(connection, context, progress, HexField(reply, 0, 4)))
        return;
    if (!connection.SendCommand("QNF", reply, kTimeout))
        UploadAborted();
    // After a cancel the reply is the failure text, decoded all the same (to nothing).
    AddDecoded(context, "NOMATCH", reply);
}

}  // namespace

void ReceiveMatchList(TDeviceConnection& connection, IDeviceCommandContext& context)
{
    try {
        Receive(connection, context);
    } catch (...) {
        context.UpdateUI();
        throw;
    }
    context.UpdateUI();
}
