#include "netsetup/LantronixConfig.h"

#include "netsetup/ConfigDatagram.h"
#include "netsetup/IPHelper.h"
#include "platform/net/ESocketError.h"
#include "platform/net/InetAddress.h"
#include "platform/net/NetPorts.h"
#include "platform/net/Resolver.h"
#include "platform/ui/SessionEnd.h"
#include "platform/ui/Ui.h"

#include <algorithm>
#include <chrono>
#include <cstring>

using namespace config_datagram;

namespace {

constexpr std::size_t kIPSetupSize = 20;
constexpr std::size_t kMaxNameLength = 64;
constexpr int kPollsPerSecond = 10;
constexpr auto kEmptyPollWait = std::chrono::milliseconds(100);
// The whole search lasts at most this many times its time-out.
constexpr int kSearchBoundFactor = 10;
// The most listed modules the socket keeps out (its filter may hold fewer, the rest it
// tells apart as it reads them). The search tells apart any beyond.
constexpr std::size_t kExcludedModules = 256;
// How long the search watches for modules that keep answering before it broadcasts, and how
// many search replies of one module (sender and MAC) in that while show one.
constexpr auto kFloodWatch = std::chrono::milliseconds(50);
constexpr int kFloodReplies = 3;
// The least time between two filters that keep out more listed modules: building one
// takes up to a millisecond with hundreds in it.
constexpr auto kRebuildGap = std::chrono::milliseconds(5);

// Admits the replies of this type, from anyone.
TUdpAdmission RepliesOf(uint8_t type)
{
    TUdpAdmission admission;
    const auto header = ConfigHeader(type);
    admission.prefix.assign(header.begin(), header.end());
    admission.minLength = ReplyLength(type);
    return admission;
}

InAddr SenderOf(const TDeviceEntry& entry)
{
    InAddr sender;
    std::memcpy(&sender, entry.IP.data(), sizeof sender);
    return sender;
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

void TLantronixConfig::Keep(const TUdpDatagram& datagram)
{
    RecvBuffer.assign(kRecvBufferSize, 0);
    std::copy(datagram.bytes.begin(), datagram.bytes.end(), RecvBuffer.begin());
    RecvLength = static_cast<int32_t>(datagram.bytes.size());
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
    listed_.clear();
    senderNames_.clear();
    int budget = timeoutMs / (1000 / kPollsPerSecond);
    if (budget <= 0)
        budget = 1;
    DropQueued();
    ListFlooders();
    UDP1.Broadcast(ConfigPort(), ConfigHeader(kSearch));
    // Only quiet time uses up the budget: a peer that never stops answering as a new module
    // would hold the search for as long as it sends, so the whole search is bounded too. The
    // session's end, which waits for nothing, ends it at once.
    const auto end = Clock::now() + kSearchBoundFactor * budget * kEmptyPollWait;
    while (budget > 0 && Clock::now() < end && !ui::SessionEnding()) {
        PollSearchReplies();
        ui::CurrentUi().ProcessMessages();
        // A wait that a datagram let in ends early costs nothing: the modules' replies,
        // spread over a second, are each read at once, and the search ends only after
        // `budget` waits of 100 ms in which nothing came.
        if (!UDP1.WaitForDatagram(static_cast<int>(kEmptyPollWait.count())))
            --budget;
    }
}

void TLantronixConfig::PollSearchReplies()
{
    RecvLength = 0;
    const std::size_t listed = Devices.size();
    UDP1.ReceiveQueued([this](const TUdpDatagram& datagram) {
        Keep(datagram);
        const auto mac = SearchReplyMac(datagram.bytes);
        if (mac)
            AddDevice(datagram.sender, *mac);
        KeepListedOut(false);
    });
    KeepListedOut(true);
    NameDevicesFrom(listed);
}

void TLantronixConfig::ListFlooders()
{
    AdmitSearchReplies();
    std::map<std::pair<InAddr, TMacAddress>, int> replies;
    const auto end = Clock::now() + kFloodWatch;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now());
        if (left.count() <= 0 || !UDP1.WaitForDatagram(static_cast<int>(left.count())))
            break;
        UDP1.ReceiveQueued([&](const TUdpDatagram& datagram) {
            const auto mac = SearchReplyMac(datagram.bytes);
            if (mac && ++replies[{datagram.sender, *mac}] == kFloodReplies)
                AddDevice(datagram.sender, *mac);
            KeepListedOut(false);
        });
        KeepListedOut(true);
    }
    NameDevicesFrom(0);
}

void TLantronixConfig::KeepListedOut(bool readEnded)
{
    if (admitted_ == Devices.size() || admitted_ >= kExcludedModules)
        return;
    // The socket's filter is built anew each time: with many modules answering at once, at
    // most every kRebuildGap, and at the end of the read. Within the read, a module's
    // further replies add nothing.
    if (readEnded || Clock::now() - admittedAt_ >= kRebuildGap)
        AdmitSearchReplies();
}

void TLantronixConfig::NameDevicesFrom(std::size_t first)
{
    // Looked up once the queue is read: a look-up may wait on a name server, and the
    // modules' further replies are kept out meanwhile, but others are not.
    for (std::size_t i = first; i < Devices.size(); ++i)
        Devices[i].Name = SenderName(SenderOf(Devices[i]));
}

void TLantronixConfig::AdmitSearchReplies()
{
    admitted_ = Devices.size();
    admittedAt_ = Clock::now();
    TUdpAdmission admission = RepliesOf(kSearchReply);
    admission.excludedOffset = kSearchReplyMac;
    for (const TDeviceEntry& entry : Devices) {
        if (admission.excluded.size() == kExcludedModules)
            break;
        admission.excluded.emplace_back(SenderOf(entry),
                                        std::vector(entry.MAC.begin(), entry.MAC.end()));
    }
    UDP1.Admit(admission);
}

bool TLantronixConfig::AddDevice(InAddr sender, const TMacAddress& mac)
{
    // A module that answers more than once is one module.
    if (!listed_.emplace(sender, mac).second)
        return false;
    std::array<uint8_t, 4> ip;
    std::memcpy(ip.data(), &sender, ip.size());
    Devices.push_back({"", ip, mac});
    ++DeviceCount;
    return true;
}

const std::string& TLantronixConfig::SenderName(InAddr sender)
{
    // A sender that answers for several MAC addresses is looked up once.
    const auto [name, added] = senderNames_.try_emplace(sender);
    if (added)
        name->second = IPToHostName(InetNtoa(sender)).substr(0, kMaxNameLength);
    return name->second;
}

void TLantronixConfig::DropQueued()
{
    // Nothing new is admitted meanwhile, and a read ends after one queue's worth: the
    // request goes out however fast peers send.
    UDP1.Admit(TUdpAdmission::Nothing());
    UDP1.ReceiveQueued([](const TUdpDatagram&) {});
}

bool TLantronixConfig::Exchange(const std::string& host, std::span<const uint8_t> request,
                                uint8_t replyType)
{
    const InAddr target = HostAddress(host);
    const auto deadline = Clock::now() + std::chrono::milliseconds(kReplyTimeoutMs);
    DropQueued();
    TUdpAdmission admission = RepliesOf(replyType);
    admission.sender = target;
    UDP1.Admit(admission);
    UDP1.SendTo(target, ConfigPort(), request);
    RecvLength = 0;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || !UDP1.WaitForDatagram(static_cast<int>(left.count())))
            return false;
        // The first fitting reply counts; the queue is read to its end all the same.
        bool replied = false;
        UDP1.ReceiveQueued([&](const TUdpDatagram& datagram) {
            if (!replied && datagram.sender == target && IsConfigReply(datagram.bytes, replyType)) {
                Keep(datagram);
                replied = true;
            }
        });
        if (replied)
            return true;
    }
}

bool TLantronixConfig::GetSetupRecord(const std::string& host, TSetupRecord& record)
{
    try {
        if (!Exchange(host, ConfigHeader(kReadRecord), kRecordReply))
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
    const auto header = ConfigHeader(assign ? kWriteAssign : kWriteConfig);
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
    DropQueued();
    UDP1.Broadcast(ConfigPort(), datagram);
}
