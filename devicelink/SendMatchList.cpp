#include "devicelink/SendMatchList.h"

#include "devicelink/CommandMessage.h"
#include "devicelink/IDeviceCommandContext.h"
#include "devicelink/TDeviceConnection.h"
#include "devicelink/TDeviceInfo.h"
#include "devicelink/TProgressSteps.h"
#include "devicelink/TTransferBlock.h"
#include "platform/text/Format.h"
#include "platform/ui/SessionEnd.h"
#include "platform/ui/Ui.h"

namespace {

constexpr int kTimeout = 1000;
constexpr int kLineModeLimit = 4;
constexpr uint8_t kEot = 0x04;

void TransmitFailed()
{
    ShowCommandMessage(ui::MsgKind::Error, "Error: transmit match-list failed", ui::Buttons::OK);
}

bool CheckDevice(IDeviceCommandContext& context, const TDeviceInfo& info, const std::string& host)
{
    const int plateCount = context.PlateCount();
    const int room = info.Capacity - (context.SpecialChecked(TSpecialEntry::NoRead) ? 1 : 0) -
                     (context.SpecialChecked(TSpecialEntry::NoPlate) ? 1 : 0);
    if (room < plateCount) {
        ShowCommandMessage(ui::MsgKind::Error,
                           Format("Host %s:\rMatch-list too long (max. %d plates)", host, room));
        return false;
    }
    if (!info.ListModeEnabled &&
        ShowCommandMessage(
            ui::MsgKind::Warning,
            Format("Host %s:\rMatch-list mode not enabled (check dip-switches)", host),
            ui::Buttons::OKCancel) != ui::Result::OK)
        return false;
    if (info.Count > 0) {
        std::string text = Format("Host %s:\rClick Yes to confirm overwrite match-list.", host);
        if (info.Count < plateCount)
            text += Format("\r\rAdded %d plates.", plateCount - info.Count);
        else if (info.Count > plateCount)
            text += Format("\r\rDelete %d plates !!!", info.Count - plateCount);
        if (ShowCommandMessage(ui::MsgKind::Confirmation, text, ui::Buttons::YesNo) !=
            ui::Result::Yes)
            return false;
    }
    return true;
}

bool SendLines(TDeviceConnection& connection, IDeviceCommandContext& context,
               TProgressSteps& progress)
{
    std::string reply;
    for (int row = 0; row < context.PlateCount(); ++row) {
        progress.Advance(1);
        ui::CurrentUi().ProcessMessages();
        const uint64_t frame = context.EncodeWiegand(context.IdNumberText(row));
        if (static_cast<int64_t>(frame) <= 0)
            continue;
        if (!connection.SendCommand(Format("SLS%s=%.12x", context.PlateText(row), frame), reply,
                                    kTimeout)) {
            TransmitFailed();
            return false;
        }
    }
    return true;
}

bool SendBlocks(TDeviceConnection& connection, IDeviceCommandContext& context,
                TProgressSteps& progress)
{
    bool ok = true;
    const int plateCount = context.PlateCount();
    for (int row = 0, number = 0; row < plateCount; ++number) {
        auto block = TTransferBlock::Make(number);
        for (int i = 0; i < TTransferBlock::kRecords && row < plateCount; ++i, ++row)
            block.SetRecord(i, context.PlateText(row),
                            context.EncodeWiegand(context.IdNumberText(row)));
        block.Seal();
        if (!connection.SendBlock(block.Bytes(), sizeof block, kTimeout)) {
            TransmitFailed();
            ok = false;
            break;
        }
        progress.Advance(TTransferBlock::kRecords);
    }
    // The device closes its transfer on this byte, also after a failed block.
    connection.SendBlock(&kEot, 1, kTimeout);
    return ok;
}

bool SendSpecialEntries(TDeviceConnection& connection, IDeviceCommandContext& context)
{
    static constexpr struct {
        TSpecialEntry entry;
        const char* format;
    } kSpecials[] = {
        {TSpecialEntry::NoMatch, "SNF%.12x"},
        {TSpecialEntry::NoRead, "SLSNOREAD=%.12x"},
        {TSpecialEntry::NoPlate, "SLSNOPLATE=%.12x"},
    };
    std::string reply;
    for (const auto& special : kSpecials) {
        if (!context.SpecialChecked(special.entry))
            continue;
        const uint64_t frame = context.EncodeWiegand(context.SpecialText(special.entry));
        if (!connection.SendCommand(Format(special.format, frame), reply, kTimeout)) {
            TransmitFailed();
            return false;
        }
    }
    return true;
}

bool CheckCount(TDeviceConnection& connection, IDeviceCommandContext& context,
                const std::string& host)
{
    std::string reply;
    if (!connection.SendCommand("QLS", reply, kTimeout))
        return false;
    const int stored = HexField(reply, 0, 4);
    if (stored != context.PlateCount()) {
        ShowCommandMessage(
            ui::MsgKind::Error,
            Format("Host %s:\rtransmit match-list failed (transferred %d of %d plates)", host,
                   stored, context.PlateCount()));
        return false;
    }
    return true;
}

}  // namespace

bool SendMatchList(TDeviceConnection& connection, IDeviceCommandContext& context,
                   TProgressSteps& progress, const std::string& host)
{
    const bool connected = connection.ConnectDevice(host);
    TDeviceConnection::TDisconnectOnExit disconnect(connection);
    TDeviceInfo info;
    if (!connected || !GetDeviceInfo(connection, info) || !CheckDevice(context, info, host))
        return false;
    std::string reply;
    if (!connection.SendCommand("CLS", reply, kTimeout))
        return false;
    const int plateCount = context.PlateCount();
    if (plateCount > 0 && plateCount < kLineModeLimit) {
        if (!SendLines(connection, context, progress))
            return false;
    } else if (plateCount >= kLineModeLimit) {
        if (!SendBlocks(connection, context, progress))
            return false;
    }
    return SendSpecialEntries(connection, context) && CheckCount(connection, context, host);
}

void SendMatchListToSelected(TDeviceConnection& connection, IDeviceCommandContext& context)
{
    ui::BusyCursor hourglass;
    const auto hosts = context.SelectedDeviceHosts();
    TProgressSteps progress(context);
    progress.Start(context.PlateCount() * static_cast<int>(hosts.size()));
    // At the session's end the device under way gets its whole list, and no other is begun:
    // each device holds a whole list, and the end waits for one transfer at most.
    for (const auto& host : hosts)
        if (ui::SessionEnding() || !SendMatchList(connection, context, progress, host))
            break;
}
