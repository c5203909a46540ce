// A device's replies to the commands of "Get device info", Receive and Send (text
// commands and acknowledged blocks), over a connection on 127.0.0.1 whose peer plays the
// input back and closes. Boxes are answered from the input, then ended.
#include "devicelink/IDeviceCommandContext.h"
#include "devicelink/TDeviceCommands.h"
#include "fuzz/support/Fuzz.h"
#include "fuzz/support/LoopbackPeer.h"
#include "matchlist/Wiegand.h"
#include "platform/net/NetPorts.h"
#include "platform/text/Format.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using fuzz::Require;

namespace {

enum class Command { DeviceInfo, Receive, SendLines, SendBlocks, kMaxValue = SendBlocks };

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
    void AddPlateEntry(const std::string& plate, const std::string&) override
    {
        Require(!plate.empty(), "a received entry has its plate");
    }
    void ClearMatchList() override {}
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

private:
    TWiegandFormat format_;
    bool specials_;
    std::vector<std::pair<std::string, std::string>> rows_;
    int progressMax_ = -1;
};

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
    fuzz::Answers().SetScript(input.ConsumeRandomLengthString(8));
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
    return 0;
}
