#include "fuzz/support/LoopbackPeer.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

namespace {

[[noreturn]] void Fail(const char* what)
{
    std::perror(what);
    std::abort();
}

}  // namespace

LoopbackConnection::~LoopbackConnection()
{
    ::close(fd_);
}

void LoopbackConnection::PlayAndClose(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
        if (sent <= 0)
            break;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    ::shutdown(fd_, SHUT_WR);
}

std::string LoopbackConnection::ReceiveToEnd()
{
    std::string received;
    char buffer[4096];
    for (pollfd readable{fd_, POLLIN, 0}; ::poll(&readable, 1, 5000) == 1;) {
        const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        received.append(buffer, static_cast<std::size_t>(got));
    }
    return received;
}

LoopbackListener::LoopbackListener()
{
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(fd_, 16) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        Fail("loopback listener");
    port_ = ntohs(address.sin_port);
}

LoopbackListener::~LoopbackListener()
{
    ::close(fd_);
}

int LoopbackListener::Accept()
{
    pollfd waiting{fd_, POLLIN, 0};
    if (::poll(&waiting, 1, 5000) != 1)
        Fail("no connection to accept");
    const int fd = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        Fail("accept");
    // Room for a whole input, so that playing it back never waits for the client.
    const int room = 1 << 20;
    ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &room, sizeof room);
    return fd;
}

}  // namespace fuzz
