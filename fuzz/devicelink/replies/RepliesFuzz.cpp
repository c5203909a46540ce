// A device's replies to the commands of "Get device info", Receive and Send (text
// commands and acknowledged blocks), over a connection on 127.0.0.1 whose peer plays the
// input back and closes. Boxes are answered from the input, then ended. What "Get device
// info" and Receive make of the replies is held against a model of the exchange read from
// the input alone: the entries received, whether the list was cleared, and every box.
#include "devicelink/IDeviceCommandContext.h"
#include "devicelink/TDeviceCommands.h"
#include "devicelink/TDeviceConnection.h"
#include "devicelink/TDeviceInfo.h"
#include "fuzz/support/Fuzz.h"
#include "fuzz/support/LoopbackPeer.h"
#include "matchlist/Wiegand.h"
#include "platform/net/NetPorts.h"
#include "platform/text/Format.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using fuzz::Require;

namespace {

enum class Command { DeviceInfo, Receive, SendLines, SendBlocks, kMaxValue = SendBlocks };

using TEntries = std::vector<std::pair<std::string, std::string>>;

// The main window as the device commands see it; the plates to send are P0, P1, ... with
// id-numbers 1, 2, ...
class FuzzContext final : public IDeviceCommandContext {
public:
    FuzzContext(const TWiegandFormat& format, int plates, bool specials)
        : format_(format), specials_(specials)
    {
        for (int i = 0; i < plates; ++i)
            rows_.push_back({Format("P%d", i), Format("%d", i + 1)});
    }

    int PlateCount() const override { return static_cast<int>(rows_.size()); }
    std::string PlateText(int row) const override { return rows_.at(row).first; }
    std::string IdNumberText(int row) const override { return rows_.at(row).second; }
    bool SpecialChecked(TSpecialEntry) const override { return specials_; }
    std::string SpecialText(TSpecialEntry) const override { return "7"; }
    void SetSpecial(TSpecialEntry, bool, const std::string&) override {}
    void AddPlateEntry(const std::string& plate, const std::string& idText) override
    {
        Require(!plate.empty(), "a received entry has its plate");
        received_.emplace_back(plate, idText);
    }
    void ClearMatchList() override
    {
        cleared_ = true;
        received_.clear();
    }
    uint64_t EncodeWiegand(std::string_view idText) const override
    {
        return ::EncodeWiegand(format_, idText);
    }
    int64_t DecodeWiegand(std::string_view hexText) const override
    {
        return ::DecodeWiegand(format_, hexText);
    }
    std::vector<std::string> SelectedDeviceHosts() const override { return {"127.0.0.1"}; }
    void ProgressStart(int max) override
    {
        Require(max >= 0, "the progress bar has a maximum");
        progressMax_ = max;
    }
    void ProgressPosition(int position) override
    {
        Require(position >= 0 && position <= progressMax_, "the progress bar stays in its range");
    }
    void ProgressHide() override {}
    void AppendLog(const std::string&) override {}
    void UpdateUI() override {}
    void HoldOffInput(bool) override {}

    bool Cleared() const { return cleared_; }
    const TEntries& Received() const { return received_; }

private:
    TWiegandFormat format_;
    bool specials_;
    std::vector<std::pair<std::string, std::string>> rows_;
    int progressMax_ = -1;
    bool cleared_ = false;
    TEntries received_;
};

// The exchange as the device's side sees it. The peer has sent every reply and closed before
// the command runs, so no read waits: a command's reply is the text after the command in the
// first line that holds it; when the lines run out first, the failure box shows the last line
// read (or "no acknowledge received" for none or one character), which is then the reply,
// and its answer cancels the command, lets it go on or sends it again, reading on from the
// same place. A line ends at LF, without a CR before it; the bytes
// after the last LF never make a line.
class ReferenceExchange final {
public:
    ReferenceExchange(std::string_view replies, const std::string& script) : replies_(replies)
    {
        boxes_.SetScript(script);
    }

    struct TReply {
        bool answered;  // the command went on (echoed, or its failure ignored)
        bool echoed;
        std::string text;
    };

    TReply Command(const std::string& command)
    {
        for (;;) {
            std::string last;
            while (const auto line = NextLine()) {
                last = *line;
                if (const std::size_t at = last.find(command); at != std::string::npos)
                    return {true, true, last.substr(at + command.size())};
            }
            const std::string failure = last.size() <= 1 ? "no acknowledge received" : last;
            const ui::Result answer =
                Box(ui::MsgKind::Error, "Error: communication failure (" + failure + ")",
                    ui::Buttons::CancelRetryIgnore);
            if (answer != ui::Result::Retry)
                return {answer == ui::Result::Ignore, false, failure};
        }
    }

    ui::Result Box(ui::MsgKind kind, const std::string& text, ui::Buttons buttons = ui::Buttons::OK)
    {
        return boxes_.MessageBox(kind, text, buttons);
    }
    const std::vector<fuzz::AnsweringUi::TBox>& Boxes() const { return boxes_.Shown(); }

private:
    std::optional<std::string> NextLine()
    {
        const std::size_t lf = replies_.find('\n');
        if (lf == std::string_view::npos)
            return std::nullopt;
        std::string line(replies_.substr(0, lf));
        replies_.remove_prefix(lf + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        return line;
    }

    std::string_view replies_;
    fuzz::AnsweringUi boxes_;
};

// "Get device info": the record of the three replies in its box, or the failure box.
void ExpectDeviceInfo(ReferenceExchange& exchange)
{
    std::vector<std::string> replies;
    for (const char* command : {"QVE", "QLS", "QTM"}) {
        const ReferenceExchange::TReply reply = exchange.Command(command);
        if (!reply.answered)
            break;
        replies.push_back(reply.text);
    }
    if (replies.size() == 3)
        exchange.Box(ui::MsgKind::Information,
                     DeviceInfoText(ReadDeviceInfo(replies[0], replies[1], replies[2])));
    else
        exchange.Box(ui::MsgKind::Error, "Error: failed to get device info");
}

// The count of a list reply: its first four characters (fewer when it is shorter) as a
// hexadecimal number; 0 unless each of them is a hexadecimal digit.
int ListCount(const std::string& reply)
{
    const std::string digits = reply.substr(0, 4);
    if (digits.empty() || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return 0;
    return std::stoi(digits, nullptr, 16);
}

// An entry's reply "plate=frame" becomes an entry when the plate is not empty and the frame
// decodes to an id-number above 0.
void ExpectEntry(TEntries& entries, const std::string& plate, const std::string& frame,
                 const TWiegandFormat& format)
{
    if (const int64_t id = DecodeWiegand(format, frame); !plate.empty() && id > 0)
        entries.emplace_back(plate, std::to_string(id));
}

// Receive: the list is cleared once the device has echoed the count, then each entry asked
// for in turn ("QLI" and its index in four lower-case hexadecimal digits), then the no-match
// entry; a cancelled entry ends the upload with its warning, a cancelled no-match entry
// warns and still decodes its failure text.
std::optional<TEntries> ExpectReceive(ReferenceExchange& exchange, const TWiegandFormat& format)
{
    const ReferenceExchange::TReply count = exchange.Command("QLS");
    if (!count.echoed)
        return std::nullopt;
    TEntries entries;
    for (int i = 0, n = ListCount(count.text); i < n; ++i) {
        char command[8];
        std::snprintf(command, sizeof command, "QLI%.4x", i);
        const ReferenceExchange::TReply entry = exchange.Command(command);
        if (!entry.answered) {
            exchange.Box(ui::MsgKind::Warning, "Warning: upload aborted");
            return entries;
        }
        const std::size_t eq = entry.text.find('=');
        if (eq != std::string::npos)
            ExpectEntry(entries, entry.text.substr(0, eq), entry.text.substr(eq + 1), format);
    }
    const ReferenceExchange::TReply noMatch = exchange.Command("QNF");
    if (!noMatch.answered)
        exchange.Box(ui::MsgKind::Warning, "Warning: upload aborted");
    ExpectEntry(entries, "NOMATCH", noMatch.text, format);
    return entries;
}

// A format the window would let a command run with; the default where the input's is not.
TWiegandFormat FormatFrom(FuzzedDataProvider& input)
{
    TWiegandFormat format;
    format.bitLength = input.ConsumeIntegralInRange(1, 64);
    format.fcEnabled = input.ConsumeBool();
    format.fcLength = input.ConsumeIntegralInRange(0, 64);
    format.fcValue = input.ConsumeIntegral<int32_t>();
    format.parity = input.ConsumeBool();
    return CheckWiegandFormat(format).valid ? format : TWiegandFormat{};
}

fuzz::LoopbackListener* device = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartApplication();
    device = new fuzz::LoopbackListener;
    SetDevicePortForTesting(device->Port());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const auto command = input.ConsumeEnum<Command>();
    const TWiegandFormat format = FormatFrom(input);
    const bool specials = input.ConsumeBool();
    const std::string script = input.ConsumeRandomLengthString(8);
    fuzz::Answers().SetScript(script);
    const std::string replies = input.ConsumeRemainingBytesAsString();

    const int plates = command == Command::SendLines ? 2 : command == Command::SendBlocks ? 20 : 0;
    FuzzContext context(format, plates, specials);
    TDeviceCommands commands(context);
    // Connected first, so that the peer can play its part before the command runs.
    commands.Connection().ConnectDevice("127.0.0.1");
    fuzz::LoopbackConnection peer(device->Accept());
    peer.PlayAndClose(replies);
    switch (command) {
    case Command::DeviceInfo:
        commands.mnuHostInfoClick();
        break;
    case Command::Receive:
        commands.btnReceiveClick();
        break;
    case Command::SendLines:
    case Command::SendBlocks:
        commands.btnSendClick();
        break;
    }
    Require(!commands.Connection().TCP1().Connected(), "every command ends disconnected");

    // Beyond the longest line a device may send, a read may fail before its line ends.
    if (replies.size() > TDeviceConnection::kMaxLineLength)
        return 0;
    ReferenceExchange model(replies, script);
    if (command == Command::DeviceInfo) {
        ExpectDeviceInfo(model);
    } else if (command == Command::Receive) {
        const std::optional<TEntries> entries = ExpectReceive(model, format);
        Require(context.Cleared() == entries.has_value(),
                "the list is cleared when, and only when, the device has echoed its count");
        Require(context.Received() == entries.value_or(TEntries{}),
                "the entries received are the plates and id-numbers the device sent");
    } else {
        return 0;
    }
    Require(fuzz::Answers().Shown() == model.Boxes(),
            "the boxes are those of the replies that followed each echo");
    return 0;
}
