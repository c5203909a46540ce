#pragma once

#include "netsetup/ConfigDatagram.h"
#include "platform/net/TUdpSocket.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <span>
#include <string>
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
// datagrams still queued from earlier exchanges. A read or a write counts only the reply of
// the module it asked: while it waits, anything from another sender or of another type is
// dropped too. Every exchange blocks the calling (GUI) thread; only the search lets pending
// window messages run meanwhile.
//
// The terminal window owns the one instance for the life of the program, so the socket
// and the search results live as long as the program does.
class TLantronixConfig final {
public:
    // The wait of a read or a write for its reply.
    static constexpr int kReplyTimeoutMs = 1000;
    // The receive buffer's size before every receive.
    static constexpr std::size_t kRecvBufferSize = 256;

    TLantronixConfig() = default;
    TLantronixConfig(const TLantronixConfig&) = delete;
    TLantronixConfig& operator=(const TLantronixConfig&) = delete;

    // Drops what is queued, broadcasts the search (F6) and collects the F7 replies into
    // Devices and DeviceCount, in the order they are read, one entry per module (sender's
    // address and MAC): a module that answers again adds nothing. Polls without waiting,
    // processes pending window messages after each poll, and sleeps 100 ms after each poll
    // that finds nothing; the search ends after timeoutMs / 100 (at least one) such empty
    // polls, and in any case ten times that long after the first poll. Each new module
    // costs a reverse look-up of its sender. Socket failures raise ENetError.
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
    TUdpSocket UDP1;
    // Length of the last datagram received into RecvBuffer; 0 when none came.
    int32_t RecvLength = 0;
    std::vector<uint8_t> RecvBuffer;
    // The results of the last search; emptied at its start.
    int32_t DeviceCount = 0;
    TDeviceList Devices;

private:
    using Clock = std::chrono::steady_clock;

    // Adds the module that sent a search reply, unless it is listed already.
    void AddDevice(const std::array<uint8_t, 4>& ip, const TMacAddress& mac,
                   const std::string& sender);
    // One receive into RecvBuffer; gives the sender's address ("" when none came).
    std::string Receive(int timeoutMs);
    // Drops what is queued on the socket, so that no late reply to an earlier exchange
    // counts for the next; a peer that keeps sending holds it no longer than deadline.
    void DropQueued(Clock::time_point deadline);
    // Sends request to host and waits, until kReplyTimeoutMs after the start, for a reply of
    // replyType from host's address; true when it came (it is then in RecvBuffer).
    bool Exchange(const std::string& host, std::span<const uint8_t> request, uint8_t replyType);
    // The last datagram received, as far as it fitted into RecvBuffer.
    std::span<const uint8_t> Received() const;
};
