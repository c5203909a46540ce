#pragma once

#include "platform/net/InetAddress.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One IPv4 datagram socket bound to a port the system chooses. It is opened on first use
// and kept until destroyed, so a datagram that arrives after one exchange ended stays
// queued for the next receive. Failures raise ESocketError ("Socket Error # %d\r\n%s").
class TUdpSocket final {
public:
    TUdpSocket() = default;
    ~TUdpSocket();
    TUdpSocket(const TUdpSocket&) = delete;
    TUdpSocket& operator=(const TUdpSocket&) = delete;

    // Sends the bytes unchanged to address and port. A host text is resolved first with
    // HostAddress (platform/net/Resolver.h), so that a reply can be matched to it.
    void SendTo(InAddr address, uint16_t port, std::span<const uint8_t> bytes);
    // Sends the bytes unchanged to the broadcast address (BroadcastAddress) and port,
    // with broadcasting switched on.
    void Broadcast(uint16_t port, std::span<const uint8_t> bytes);
    // Waits up to timeoutMs (0: only looks) for one datagram and copies it into the start
    // of buffer, cut to buffer's size. Gives the bytes copied (0 when none came) and sets
    // peerIp to the sender's dotted address ("" when none came).
    int ReceiveBuffer(std::vector<uint8_t>& buffer, int timeoutMs, std::string& peerIp);

    // The port the system bound, opening the socket when needed.
    uint16_t LocalPort();

private:
    int Handle();

    int fd_ = -1;
};
