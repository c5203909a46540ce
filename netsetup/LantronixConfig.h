#pragma once

#include "netsetup/ConfigDatagram.h"
#include "platform/net/TUdpSocket.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

// One network module that answered the last search.
struct TDeviceEntry {
    // The sender's short host name by reverse look-up (at most 64 characters); "" when none.
    std::string Name;
    // The sender's IPv4 address, dotted order.
    std::array<uint8_t, 4> IP{};
    // The module's MAC address as the reply carries it.
    TMacAddress MAC{};
};
using TDeviceList = std::vector<TDeviceEntry>;

// The error box of a command whose setup record could not be read or whose write was not
// confirmed: "Error: failed to setup config in " and the target host.
void ShowSetupFailed(const std::string& host);

// The network modules' configuration service on UDP (ConfigPort): finding modules by
// broadcast, reading and writing a module's setup record, and assigning an address to a
// module named by its MAC address. Every request, the search's included, first drops the
// datagrams queued at that moment from earlier exchanges, admitting nothing new while it
// does, so that a peer that keeps sending cannot keep the request from going out. Every
// receive reads all that is queued at once. While an exchange waits, the socket admits only
// what it can take: a read or a write the reply of its type from the module it asked, a
// search the search replies of modules not listed yet. The system drops the rest as it
// arrives, so peers flooding the socket fill no queue ahead of a module's reply, as far as
// it takes the socket's filter; where it refuses it (too little option memory), the socket
// tells the rest apart as it reads them, and every exchange works all the same. Every
// exchange blocks the calling (GUI) thread; only the search lets pending window messages
// run meanwhile.
//
// The terminal window owns the one instance for the life of the program, so the socket
// and the search results live as long as the program does.
class TLantronixConfig final {
public:
    // The wait of a read or a write for its reply.
    static constexpr int kReplyTimeoutMs = 1000;
    // The receive buffer's size before every receive.
    static constexpr std::size_t kRecvBufferSize = 256;
    // What the socket's receive queue asks the system for: room for the replies of
    // thousands of modules to one search (a short datagram takes about 800 bytes of it),
    // and for what modules that keep answering send before the search has listed them and
    // keeps them out. The system may grant less (net.core.rmem_max).
    static constexpr int kReceiveQueueBytes = 4 << 20;

    TLantronixConfig() = default;
    TLantronixConfig(const TLantronixConfig&) = delete;
    TLantronixConfig& operator=(const TLantronixConfig&) = delete;

    // Drops what is queued, broadcasts the search (F6) and collects the F7 replies into
    // Devices and DeviceCount, in the order they are read, one entry per module (sender's
    // address and MAC): every module that answered is listed once. Before the broadcast it
    // watches the search replies that come for 50 ms (stale ones, of an earlier search): a
    // module seen answering three times meanwhile keeps answering, and is listed then. From
    // the moment it is listed, a module's replies are not let in, by its address and MAC,
    // so other modules at the same address still are. Each poll reads every datagram queued
    // without waiting, then processes pending window messages, then waits 100 ms or until a
    // datagram is let in. Only a wait in which nothing came uses up the budget: the search
    // ends after timeoutMs / 100 (at least one) such quiet waits, about a second after the
    // last reply for 1000. So a module that never stops answering, like a flood of its
    // replies, leaves the waits quiet once listed, and the search ends as on a quiet
    // network. Peers that answer as new modules in every poll hold it, to ten times as long
    // at most. The session's end (ui::SessionEnding) ends it after the poll under way. Each
    // new module costs a reverse look-up of its sender, once the queue is read, unless the
    // sender is listed already with another MAC address. Socket failures raise ENetError.
    void SearchDevices(int timeoutMs);

    // Asks host (dotted address or name) for its setup record (F8, reply F9). false when
    // host's record reply does not come within kReplyTimeoutMs, or on any socket or
    // resolution failure.
    bool GetSetupRecord(const std::string& host, TSetupRecord& record);

    // Writes record to host, with type FD when assign is true (address assignment) and FA
    // when false (initial configuration); true when host's FB confirmation comes within
    // kReplyTimeoutMs. Socket and resolution failures raise ENetError.
    bool SetSetupRecord(const std::string& host, const TSetupRecord& record, bool assign);

    // Broadcasts "IP-SETUP" (FC) asking the module whose MAC address ends in the fifth and
    // sixth group of mac to take address ip (0.0.0.0: automatic). A mac of fewer than six
    // groups shows "Error: MAC address is required to assign ip" and sends nothing.
    // Nothing is awaited. Socket failures raise ENetError.
    void SendIPSetup(const std::string& ip, const std::string& mac);

    // The address's four bytes in dotted order, each part read as a decimal number from 0
    // to 255 as the address boxes hold it (DottedAddress: "010" is 10, not octal 8);
    // FF FF FF FF for a text that is no such address.
    static std::array<uint8_t, 4> IPTextToBytes(const std::string& text);

    // The configuration service's socket, opened on first use and kept.
    TUdpSocket UDP1{kReceiveQueueBytes, kRecvBufferSize};
    // Length of the last datagram kept in RecvBuffer: the reply of a read or a write, or the
    // last datagram a search poll read; 0 when that receive found none.
    int32_t RecvLength = 0;
    std::vector<uint8_t> RecvBuffer;
    // The results of the last search; emptied at its start.
    int32_t DeviceCount = 0;
    TDeviceList Devices;

private:
    using Clock = std::chrono::steady_clock;

    // The modules the search listed (sender and MAC), and the names of their senders.
    std::set<std::pair<InAddr, TMacAddress>> listed_;
    std::map<InAddr, std::string> senderNames_;
    // How many of Devices the socket keeps out, since when.
    std::size_t admitted_ = 0;
    Clock::time_point admittedAt_;

    // Reads every datagram queued now and lists the modules that sent search replies.
    void PollSearchReplies();
    // Before the search is broadcast: watches the search replies that come meanwhile (all
    // of them stale) for a short while, and lists the modules that send several, so that
    // from then on their replies fill no queue ahead of the other modules' replies.
    void ListFlooders();
    // Keeps out the further replies of the modules listed since the last admission: at once,
    // unless the last was less than kRebuildGap ago, and when the read has ended.
    void KeepListedOut(bool readEnded);
    // Lets into the socket's queue only search replies from modules not listed yet.
    void AdmitSearchReplies();
    // Adds the module that sent a search reply, unless it is listed already, still without
    // its name; true when added.
    bool AddDevice(InAddr sender, const TMacAddress& mac);
    // Looks up the names of the listed modules from Devices[first] on.
    void NameDevicesFrom(std::size_t first);
    // The sender's name by reverse look-up, cut to 64 characters; looked up once a search.
    const std::string& SenderName(InAddr sender);
    // Keeps the datagram in RecvBuffer and RecvLength.
    void Keep(const TUdpDatagram& datagram);
    // Drops what is queued on the socket, so that no late reply to an earlier exchange
    // counts for the next.
    void DropQueued();
    // Sends request to host and waits, until kReplyTimeoutMs after the start, for a reply of
    // replyType from host's address; true when it came (it is then in RecvBuffer).
    bool Exchange(const std::string& host, std::span<const uint8_t> request, uint8_t replyType);
    // The last datagram kept, as far as it fitted into RecvBuffer.
    std::span<const uint8_t> Received() const;
};
