#include "netsetup/LantronixConfig.h"

#include "netsetup/ConfigDatagram.h"
#include "netsetup/IPHelper.h"
#include "platform/net/ESocketError.h"
#include "platform/net/InetAddress.h"
#include "platform/net/NetPorts.h"
#include "platform/net/Resolver.h"
#include "platform/ui/Ui.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

using namespace config_datagram;

namespace {

constexpr std::size_t kIPSetupSize = 20;
constexpr std::size_t kMaxNameLength = 64;
constexpr int kPollsPerSecond = 10;
constexpr auto kEmptyPollSleep = std::chrono::milliseconds(100);
// The whole search lasts at most this many times its time-out.
constexpr int kSearchBoundFactor = 10;

std::array<uint8_t, kHeaderSize> Header(uint8_t type)
{
    return {0, 0, 0, type};
}

}  // namespace

void ShowSetupFailed(const std::string& host)
{
    ui::ShowMessage(ui::MsgKind::Error, "Error: failed to setup config in " + host);
}

std::array<uint8_t, 4> TLantronixConfig::IPTextToBytes(const std::string& text)
{
    const InAddr address = DottedAddress(text).value_or(0xFFFFFFFFu);
    std::array<uint8_t, 4> bytes;
    std::memcpy(bytes.data(), &address, bytes.size());
    return bytes;
}

std::string TLantronixConfig::Receive(int timeoutMs)
{
    RecvBuffer.assign(kRecvBufferSize, 0);
    std::string sender;
    RecvLength = UDP1.ReceiveBuffer(RecvBuffer, timeoutMs, sender);
    return sender;
}

std::span<const uint8_t> TLantronixConfig::Received() const
{
    const auto length = static_cast<std::size_t>(std::max(RecvLength, 0));
    return std::span(RecvBuffer).first(std::min(length, RecvBuffer.size()));
}

void TLantronixConfig::SearchDevices(int timeoutMs)
{
    DeviceCount = 0;
    Devices.clear();
    int budget = timeoutMs / (1000 / kPollsPerSecond);
    if (budget <= 0)
        budget = 1;
    // A full queue would leave no room for the replies.
    DropQueued(Clock::now() + std::chrono::milliseconds(kReplyTimeoutMs));
    UDP1.Broadcast(ConfigPort(), Header(kSearch));
    // Only empty polls use up the budget: a peer that never stops sending would hold the
    // search for as long as it sends, so the whole search is bounded too.
    const auto end = Clock::now() + kSearchBoundFactor * budget * kEmptyPollSleep;
    while (budget > 0 && Clock::now() < end) {
        const std::string sender = Receive(0);
        if (const auto mac = SearchReplyMac(Received()))
            AddDevice(IPTextToBytes(sender), *mac, sender);
        ui::CurrentUi().ProcessMessages();
        if (RecvLength == 0) {
            --budget;
            std::this_thread::sleep_for(kEmptyPollSleep);
        }
    }
}

void TLantronixConfig::AddDevice(const std::array<uint8_t, 4>& ip, const TMacAddress& mac,
                                 const std::string& sender)
{
    // A module that answers more than once is one module.
    if (std::any_of(Devices.begin(), Devices.end(),
                    [&](const TDeviceEntry& entry) { return entry.IP == ip && entry.MAC == mac; }))
        return;
    Devices.push_back({IPToHostName(sender).substr(0, kMaxNameLength), ip, mac});
    ++DeviceCount;
}

void TLantronixConfig::DropQueued(Clock::time_point deadline)
{
    while (Clock::now() < deadline && !Receive(0).empty()) {
    }
}

bool TLantronixConfig::Exchange(const std::string& host, std::span<const uint8_t> request,
                                uint8_t replyType)
{
    const InAddr target = HostAddress(host);
    const std::string targetText = InetNtoa(target);
    const auto deadline = Clock::now() + std::chrono::milliseconds(kReplyTimeoutMs);
    DropQueued(deadline);
    UDP1.SendTo(target, ConfigPort(), request);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        const std::string sender = Receive(static_cast<int>(left.count()));
        if (sender == targetText && IsConfigReply(Received(), replyType))
            return true;
    }
}

bool TLantronixConfig::GetSetupRecord(const std::string& host, TSetupRecord& record)
{
    try {
        if (!Exchange(host, Header(kReadRecord), kRecordReply))
            return false;
    } catch (const ENetError&) {
        return false;
    }
    record = *SetupRecordReply(Received());
    return true;
}

bool TLantronixConfig::SetSetupRecord(const std::string& host, const TSetupRecord& record,
                                      bool assign)
{
    std::array<uint8_t, kRecordDatagramSize> datagram;
    const auto header = Header(assign ? kWriteAssign : kWriteConfig);
    std::copy(header.begin(), header.end(), datagram.begin());
    std::copy(record.begin(), record.end(), datagram.begin() + kHeaderSize);
    return Exchange(host, datagram, kWriteConfirm);
}

void TLantronixConfig::SendIPSetup(const std::string& ip, const std::string& mac)
{
    std::array<uint8_t, 8> macBytes{};
    if (MacTextToBytes(mac, macBytes) < 6) {
        ui::ShowMessage(ui::MsgKind::Error, "Error: MAC address is required to assign ip");
        return;
    }
    std::array<uint8_t, kIPSetupSize> datagram{
        0, 0, 0, kIPSetup, 'I', 'P', '-', 'S', 'E', 'T', 'U', 'P', 0, 0, macBytes[4], macBytes[5]};
    const auto address = IPTextToBytes(ip);
    std::copy(address.begin(), address.end(), datagram.begin() + 16);
    DropQueued(Clock::now() + std::chrono::milliseconds(kReplyTimeoutMs));
    UDP1.Broadcast(ConfigPort(), datagram);
}
