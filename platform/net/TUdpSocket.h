#pragma once

#include "platform/net/InetAddress.h"

#include <linux/filter.h>

#include <cstddef>
#include <cstdint>
#include <deque>
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

// Which datagrams the socket hands on; every read drops the others. The system also drops
// them as they arrive, at the sender's cost, as far as it takes the socket's filter: a peer
// flooding the socket with them then fills no queue and costs no reads. The default admits
// every datagram. A datagram is judged by its whole length and by its bytes as read (cut to
// the socket's datagram size).
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
    // None from one of these senders that holds its bytes at excludedOffset. A filter holds
    // tens to hundreds of them, as the system allows; those beyond are told apart as they
    // are read.
    std::size_t excludedOffset = 0;
    std::vector<std::pair<InAddr, std::vector<uint8_t>>> excluded;
};

// One IPv4 datagram socket bound to a port the system chooses. It is opened on first use
// and kept until destroyed, so a datagram that arrives after one exchange ended stays
// queued for the next receive, as far as the admission in force then admits it. Failures
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

    // Waits up to timeoutMs (0: only looks) until a datagram that the admission admits is
    // queued; false when none is. What it does not admit is read and dropped meanwhile.
    bool WaitForDatagram(int timeoutMs);
    // Reads, without waiting, every datagram queued now and hands each that the admission
    // admits to take, in the order they arrived (take may change the admission, which then
    // judges the rest). It reads no more than QueueCapacity() datagrams, so a peer that keeps
    // sending holds it no longer than one queue's worth takes. Gives the number handed on.
    std::size_t ReceiveQueued(const std::function<void(const TUdpDatagram&)>& take);
    // The most datagrams the receive queue can hold: the size the system granted over the
    // least memory it charges one datagram.
    std::size_t QueueCapacity();

    // From now on only what admission admits is handed on, whenever it arrived; what is
    // queued stays queued. The socket's filter drops the rest as it arrives where the system
    // takes it: where the system refuses its memory (net.core.optmem_max), the socket keeps
    // a shorter filter, with fewer exclusions, or none.
    void Admit(const TUdpAdmission& admission);

    // The port the system bound, opening the socket when needed.
    uint16_t LocalPort();

private:
    // A datagram as read, and its whole length.
    using Take = std::function<void(const TUdpDatagram&, std::size_t length)>;
    // A datagram that a wait read and the admission admitted, not handed on yet.
    struct Held {
        std::vector<uint8_t> bytes;
        std::size_t length;
        InAddr sender;
    };

    int Handle();
    // Reads, without waiting, at most `most` datagrams queued now and hands each that the
    // admission admits to take; gives the number read.
    std::size_t Read(std::size_t most, const Take& take);
    bool Admits(const TUdpDatagram& datagram, std::size_t length) const;
    // Puts the filter program in force; false when the system refuses it.
    bool Attach(std::vector<sock_filter> code);
    void Detach();

    int receiveQueueBytes_;
    std::size_t datagramBytes_;
    int fd_ = -1;
    std::size_t queueCapacity_ = 0;
    TUdpAdmission admission_;
    // The filter program in force (none when empty), and the length of the shortest one the
    // system refused with none in force: none as long is tried again.
    std::vector<sock_filter> admitting_;
    std::size_t refusedLength_ = SIZE_MAX;
    std::deque<Held> held_;
    // The datagrams of one read, datagramBytes_ each.
    std::vector<uint8_t> slots_;
};
