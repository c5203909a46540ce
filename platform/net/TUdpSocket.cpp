#include "platform/net/TUdpSocket.h"

#include "platform/net/ESocketError.h"
#include "platform/net/InetAddress.h"
#include "platform/net/NetPorts.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in SocketAddress(uint32_t address, uint16_t port)
{
    sockaddr_in sin{};
    sin.sin_family = AF_INET;
    sin.sin_port = htons(port);
    sin.sin_addr.s_addr = address;
    return sin;
}

}  // namespace

TUdpSocket::~TUdpSocket()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int TUdpSocket::Handle()
{
    if (fd_ >= 0)
        return fd_;
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        throw ESocketError::FromErrno(errno);
    const sockaddr_in any = SocketAddress(INADDR_ANY, 0);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
        const int err = errno;
        ::close(fd);
        throw ESocketError::FromErrno(err);
    }
    fd_ = fd;
    return fd_;
}

uint16_t TUdpSocket::LocalPort()
{
    sockaddr_in local{};
    socklen_t len = sizeof local;
    if (::getsockname(Handle(), reinterpret_cast<sockaddr*>(&local), &len) != 0)
        throw ESocketError::FromErrno(errno);
    return ntohs(local.sin_port);
}

void TUdpSocket::SendTo(InAddr address, uint16_t port, std::span<const uint8_t> bytes)
{
    const sockaddr_in peer = SocketAddress(address, port);
    for (;;) {
        if (::sendto(Handle(), bytes.data(), bytes.size(), 0,
                     reinterpret_cast<const sockaddr*>(&peer), sizeof peer) >= 0)
            return;
        if (errno != EINTR)
            throw ESocketError::FromErrno(errno);
    }
}

void TUdpSocket::Broadcast(uint16_t port, std::span<const uint8_t> bytes)
{
    const int on = 1;
    if (::setsockopt(Handle(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0)
        throw ESocketError::FromErrno(errno);
    SendTo(BroadcastAddress(), port, bytes);
}

int TUdpSocket::ReceiveBuffer(std::vector<uint8_t>& buffer, int timeoutMs, std::string& peerIp)
{
    peerIp.clear();
    const int fd = Handle();
    const auto end = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        pollfd p{fd, POLLIN, 0};
        const int n = ::poll(&p, 1, static_cast<int>(std::max<int64_t>(0, left.count())));
        if (n == 0)
            return 0;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw ESocketError::FromErrno(errno);
        }
        sockaddr_in sender{};
        socklen_t len = sizeof sender;
        const ssize_t got = ::recvfrom(fd, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                       reinterpret_cast<sockaddr*>(&sender), &len);
        if (got >= 0) {
            peerIp = InetNtoa(sender.sin_addr.s_addr);
            return static_cast<int>(got);
        }
        if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)
            throw ESocketError::FromErrno(errno);
    }
}
