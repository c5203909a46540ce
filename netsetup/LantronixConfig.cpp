#include "netsetup/LantronixConfig.h"

#include "netsetup/IPHelper.h"
#include "platform/net/ESocketError.h"
#include "platform/net/InetAddress.h"
#include "platform/net/NetPorts.h"
#include "platform/ui/Ui.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

constexpr uint8_t kSearch = 0xF6;
constexpr uint8_t kSearchReply = 0xF7;
constexpr uint8_t kReadRecord = 0xF8;
constexpr uint8_t kRecordReply = 0xF9;
constexpr uint8_t kWriteConfig = 0xFA;
constexpr uint8_t kWriteConfirm = 0xFB;
constexpr uint8_t kIPSetup = 0xFC;
constexpr uint8_t kWriteAssign = 0xFD;

constexpr std::size_t kHeaderSize = 4;
// A search reply carries the module's MAC address at bytes 24 to 29.
constexpr std::size_t kSearchReplyMac = 24;
constexpr std::size_t kSearchReplySize = kSearchReplyMac + 6;
constexpr std::size_t kRecordDatagramSize = kHeaderSize + kSetupRecordSize;
constexpr std::size_t kIPSetupSize = 20;
constexpr std::size_t kMaxNameLength = 64;
constexpr int kPollsPerSecond = 10;
constexpr auto kEmptyPollSleep = std::chrono::milliseconds(100);

std::array<uint8_t, kHeaderSize> Header(uint8_t type)
{
    return {0, 0, 0, type};
}

}  // namespace

std::array<uint8_t, 4> TLantronixConfig::IPTextToBytes(const std::string& text)
{
    const InAddr address = InetAddr(text).value_or(0xFFFFFFFFu);
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

bool TLantronixConfig::Accepted(uint8_t type, std::size_t minLength) const
{
    const auto length = static_cast<std::size_t>(std::max(RecvLength, 0));
    return length >= minLength && length >= kHeaderSize && length <= RecvBuffer.size() &&
           RecvBuffer[0] == 0 && RecvBuffer[1] == 0 && RecvBuffer[2] == 0 && RecvBuffer[3] == type;
}

void TLantronixConfig::SearchDevices(int timeoutMs)
{
    DeviceCount = 0;
    Devices.clear();
    int budget = timeoutMs / (1000 / kPollsPerSecond);
    if (budget <= 0)
        budget = 1;
    UDP1.Broadcast(ConfigPort(), Header(kSearch));
    while (budget > 0) {
        const std::string sender = Receive(0);
        if (Accepted(kSearchReply, kSearchReplySize)) {
            TDeviceEntry entry;
            std::copy_n(RecvBuffer.begin() + kSearchReplyMac, entry.MAC.size(), entry.MAC.begin());
            entry.IP = IPTextToBytes(sender);
            entry.Name = IPToHostName(sender).substr(0, kMaxNameLength);
            Devices.push_back(std::move(entry));
            ++DeviceCount;
        }
        ui::CurrentUi().ProcessMessages();
        if (RecvLength == 0) {
            --budget;
            std::this_thread::sleep_for(kEmptyPollSleep);
        }
    }
}

bool TLantronixConfig::GetSetupRecord(const std::string& host, TSetupRecord& record)
{
    try {
        UDP1.SendBuffer(host, ConfigPort(), Header(kReadRecord));
        Receive(kReplyTimeoutMs);
    } catch (const ENetError&) {
        return false;
    }
    if (!Accepted(kRecordReply, kRecordDatagramSize))
        return false;
    std::copy_n(RecvBuffer.begin() + kHeaderSize, record.size(), record.begin());
    return true;
}

bool TLantronixConfig::SetSetupRecord(const std::string& host, const TSetupRecord& record,
                                      bool assign)
{
    std::array<uint8_t, kRecordDatagramSize> datagram;
    const auto header = Header(assign ? kWriteAssign : kWriteConfig);
    std::copy(header.begin(), header.end(), datagram.begin());
    std::copy(record.begin(), record.end(), datagram.begin() + kHeaderSize);
    UDP1.SendBuffer(host, ConfigPort(), datagram);
    Receive(kReplyTimeoutMs);
    return Accepted(kWriteConfirm, kHeaderSize);
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
    UDP1.Broadcast(ConfigPort(), datagram);
}
