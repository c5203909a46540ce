#include "devicelink/ReceiveMatchList.h"

#include "devicelink/CommandMessage.h"
#include "devicelink/IDeviceCommandContext.h"
#include "devicelink/TDeviceConnection.h"
#include "devicelink/TDeviceInfo.h"
#include "devicelink/TProgressSteps.h"
#include "platform/text/Format.h"
#include "platform/ui/SessionEnd.h"
#include "platform/ui/Ui.h"

#include <array>
#include <utility>
#include <vector>

namespace {

constexpr int kTimeout = 1000;
// A device that stops answering in the middle of its list would otherwise hold the
// window for a second per remaining entry (up to 18 hours): this many silent entries in a
// row end the upload as a failed one.
constexpr int kSilentEntriesLimit = 3;

void UploadAborted(const TDeviceConnection& connection)
{
    if (!connection.Stopped())
        ShowCommandMessage(ui::MsgKind::Warning, "Warning: upload aborted", ui::Buttons::OK);
}

// The person's list as the exit writes it: the plate rows in their order and the special
// entries.
class TListBefore final {
public:
    explicit TListBefore(const IDeviceCommandContext& context)
    {
        rows_.reserve(static_cast<size_t>(context.PlateCount()));
        for (int row = 0; row < context.PlateCount(); ++row)
            rows_.emplace_back(context.PlateText(row), context.IdNumberText(row));
        for (size_t k = 0; k < specials_.size(); ++k) {
            const auto entry = static_cast<TSpecialEntry>(k);
            specials_[k] = {context.SpecialChecked(entry), context.SpecialText(entry)};
        }
    }

    void PutBack(IDeviceCommandContext& context) const
    {
        context.ClearMatchList();
        for (const auto& [plate, idText] : rows_)
            context.AddPlateEntry(plate, idText);
        for (size_t k = 0; k < specials_.size(); ++k)
            context.SetSpecial(static_cast<TSpecialEntry>(k), specials_[k].first,
                               specials_[k].second);
    }

private:
    std::vector<std::pair<std::string, std::string>> rows_;
    std::array<std::pair<bool, std::string>, 3> specials_;
};

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
            UploadAborted(connection);
            return false;
        }
        const size_t eq = reply.find('=');
        if (eq == std::string::npos || eq == 0)
            continue;
        AddDecoded(context, reply.substr(0, eq), reply.substr(eq + 1));
    }
    return true;
}

// The device's list in place of the person's, which has been cleared.
void ReceiveList(TDeviceConnection& connection, IDeviceCommandContext& context,
                 TProgressSteps& progress, int count)
{
    if (!ReceiveEntries(connection, context, progress, count))
        return;
    std::string reply;
    if (!connection.SendCommand("QNF", reply, kTimeout))
        UploadAborted(connection);
    // After a cancel the reply is the failure text, decoded all the same (to nothing).
    AddDecoded(context, "NOMATCH", reply);
}

void Receive(TDeviceConnection& connection, IDeviceCommandContext& context)
{
    ui::BusyCursor hourglass;
    TProgressSteps progress(context);
    const auto hosts = context.SelectedDeviceHosts();
    if (hosts.empty())
        return;
    TDeviceConnection::TStopAtSessionEnd stopAtSessionEnd(connection);
    const bool connected = connection.ConnectDevice(hosts.front());
    TDeviceConnection::TDisconnectOnExit disconnect(connection);
    std::string reply;
    // The person's list goes only for the list of a device that has answered: one that
    // cannot be reached, stays silent or whose count was given up leaves it as it was.
    if (!connected || !connection.SendCommand("QLS", reply, kTimeout) ||
        connection.LastCommandEnd() != TDeviceConnection::TCommandEnd::Echo)
        return;
    const TListBefore before(context);
    context.ClearMatchList();
    ReceiveList(connection, context, progress, HexField(reply, 0, 4));
    // The exit that follows the session's end writes the list: a part of the device's list
    // (or all of it, come after the end) must not take the place of the person's.
    if (ui::SessionEnding())
        before.PutBack(context);
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
