#include "devicelink/ReceiveMatchList.h"

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
    ui::ShowMessage(ui::MsgKind::Warning, "Warning: upload aborted", ui::Buttons::OK);
}

void AddDecoded(IDeviceCommandContext& context, const std::string& plate, const std::string& value)
{
    const int64_t id = context.DecodeWiegand(value);
    if (id > 0)
        context.AddPlateEntry(plate, Format("%d", id));
}

// Reads the entries; false when one was cancelled.
bool ReceiveEntries(TDeviceConnection& connection, IDeviceCommandContext& context,
                    TProgressSteps& progress)
{
    std::string reply;
    if (!connection.SendCommand("QLS", reply, kTimeout))
        return false;
    const int count = HexField(reply, 0, 4);
    if (count > 0)
        progress.Start(count);
    int silentEntries = 0;
    for (int i = 0; i < count; ++i) {
        progress.SetPosition(i);
        ui::CurrentUi().ProcessMessages();
        const bool answered = connection.SendCommand(Format("QLI%.4x", i), reply, kTimeout);
        silentEntries = connection.LastCommandTimedOut() ? silentEntries + 1 : 0;
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
    if (!connected || !ReceiveEntries(connection, context, progress))
        return;
    std::string reply;
    if (!connection.SendCommand("QNF", reply, kTimeout))
        UploadAborted();
    // After a cancel the reply is the failure text, decoded all the same (to nothing).
    AddDecoded(context, "NOMATCH", reply);
}

}  // namespace

void ReceiveMatchList(TDeviceConnection& connection, IDeviceCommandContext& context)
{
    context.ClearMatchList();
    try {
        Receive(connection, context);
    } catch (...) {
        context.UpdateUI();
        throw;
    }
    context.UpdateUI();
}
