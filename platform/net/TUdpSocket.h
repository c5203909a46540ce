#pragma once

#include "platform/net/InetAddress.h"

#include <linux/filter.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <utility>
#include <vector>

// One datagram as TUdpSocket::ReceiveQueued hands it on: its bytes (cut to the socket's
// datagram size) and its sender. The bytes last only for the call that gets them.
struct TUdpDatagram {
    std::span<const uint8_t> bytes;
    InAddr sender;
};

// Which datagrams the socket's receive queue takes in. The system drops every other one as
// it arrives, at the sender's cost: a peer flooding the socket with them fills no queue
// and costs no reads. The default admits every datagram.
struct TUdpAdmission {
    // The admission of no datagram at all.
    static TUdpAdmission Nothing();

    // Admits no datagram at all; the other fields then do not count.
    bool nothing = false;
    // The datagram begins with these bytes and holds at least minLength bytes.
    std::vector<uint8_t> prefix;
    std::size_t minLength = 0;
    // Only from this sender, when given.
    std::optional<InAddr> sender;
    // None from one of these senders that holds its bytes at excludedOffset. The system
    // bounds a socket's filter: those beyond what fits (tens to hundreds, as the system
    // allows) are admitted.
    std::size_t excludedOffset = 0;
    std::vector<std::pair<InAddr, std::vector<uint8_t>>> excluded;
};

// One IPv4 datagram socket bound to a port the system chooses. It is opened on first use
// and kept until destroyed, so a datagram that arrives after one exchange ended stays
// queued for the next receive, as far as the admission in force lets it in. Failures
// raise ESocketError ("Socket Error # %d\r\n%s").
class TUdpSocket final {
public:
    // The receive queue asks the system for receiveQueueBytes (0: the system's default;
    // the system may grant less, see net.core.rmem_max). Each datagram received is cut to
    // datagramBytes.
    explicit TUdpSocket(int receiveQueueBytes = 0, std::size_t datagramBytes = 1500);
    ~TUdpSocket();
    TUdpSocket(const TUdpSocket&) = delete;
    TUdpSocket& operator=(const TUdpSocket&) = delete;

    // Sends the bytes unchanged to address and port. A host text is resolved first with
    // HostAddress (platform/net/Resolver.h), so that a reply can be matched to it.
    void SendTo(InAddr address, uint16_t port, std::span<const uint8_t> bytes);
    // Sends the bytes unchanged to the broadcast address (BroadcastAddress) and port,
    // with broadcasting switched on.
    void Broadcast(uint16_t port, std::span<const uint8_t> bytes);

    // Waits up to timeoutMs (0: only looks) until a datagram is queued; false when none is.
    bool WaitForDatagram(int timeoutMs);
    // Reads, without waiting, every datagram queued now and hands each to take in the order
    // they arrived. It reads no more than QueueCapacity() datagrams, so a peer that keeps
    // sending holds it no longer than one queue's worth takes. Gives the number read.
    std::size_t ReceiveQueued(const std::function<void(const TUdpDatagram&)>& take);
    // The most datagrams the receive queue can hold: the size the system granted over the
    // least memory it charges one datagram.
    std::size_t QueueCapacity();

    // From now on the receive queue takes in only what admission admits; what is queued
    // stays.
    void Admit(const TUdpAdmission& admission);

    // The port the system bound, opening the socket when needed.
    uint16_t LocalPort();

private:
    int Handle();

    int receiveQueueBytes_;
    std::size_t datagramBytes_;
    int fd_ = -1;
    std::size_t queueCapacity_ = 0;
    // The filter program in force, and the most exclusions the system took so far.
    std::vector<sock_filter> admitting_;
    std::size_t excludedFit_ = SIZE_MAX;
    // The datagrams of one read, datagramBytes_ each.
    std::vector<uint8_t> slots_;
};
