#include "TelnetPeer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace {

constexpr char IAC = '\xFF';
constexpr char SB = '\xFA';
constexpr char SE = '\xF0';
constexpr char WILL = '\xFB';
constexpr char WONT = '\xFC';
constexpr char DO = '\xFD';
constexpr char DONT = '\xFE';
constexpr char kEcho = 1;
constexpr char kTerminalType = 24;
constexpr char kEndOfRecord = 25;

bool IsVerb(char c)
{
    const auto b = static_cast<uint8_t>(c);
    return b >= 251 && b <= 254;
}

// The terminal's answer table without any memory of the options' state.
std::string MirrorAnswer(char verb, char option)
{
    char answer = WONT;
    if (verb == WILL)
        answer = option == kEcho || option == kEndOfRecord ? DO : DONT;
    else if (verb == WONT)
        answer = DONT;
    else if (verb == DO)
        answer = option == kEcho || option == kTerminalType ? WILL : WONT;
    return {IAC, answer, option};
}

}  // namespace

TelnetPeer::TelnetPeer(TRole role) : role_(role)
{
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listenFd_, 4) != 0 ||
        getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        ::pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        if (listenFd_ >= 0)
            ::close(listenFd_);
        throw std::runtime_error("TelnetPeer: cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
}

TelnetPeer::~TelnetPeer()
{
    stop_ = true;
    Wake();
    thread_.join();
    ::close(listenFd_);
    ::close(wakePipe_[0]);
    ::close(wakePipe_[1]);
}

void TelnetPeer::Wake()
{
    const char wake = 1;
    [[maybe_unused]] auto written = ::write(wakePipe_[1], &wake, 1);
}

void TelnetPeer::Send(std::string bytes)
{
    {
        std::lock_guard lock(mutex_);
        outgoing_ += bytes;
    }
    Wake();
}

void TelnetPeer::Flood(std::string chunk)
{
    {
        std::lock_guard lock(mutex_);
        flood_ = std::move(chunk);
    }
    Wake();
}

void TelnetPeer::StopFlood()
{
    Flood({});
}

void TelnetPeer::CloseConnection()
{
    {
        std::lock_guard lock(mutex_);
        closeRequested_ = true;
    }
    Wake();
}

std::string TelnetPeer::Received() const
{
    std::lock_guard lock(mutex_);
    return received_;
}

std::vector<std::string> TelnetPeer::Lines() const
{
    std::lock_guard lock(mutex_);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = data_.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(data_.substr(start, end - start));
    return lines;
}

std::string TelnetPeer::TerminalType() const
{
    std::lock_guard lock(mutex_);
    return terminalType_;
}

int TelnetPeer::Connections() const
{
    std::lock_guard lock(mutex_);
    return connections_;
}

int TelnetPeer::Closed() const
{
    std::lock_guard lock(mutex_);
    return closed_;
}

void TelnetPeer::Run()
{
    while (!stop_) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return;
        if (fds[1].revents != 0) {
            char drain[64];
            while (::read(wakePipe_[0], drain, sizeof drain) > 0) {
            }
            continue;
        }
        if ((fds[0].revents & POLLIN) == 0)
            continue;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        {
            std::lock_guard lock(mutex_);
            ++connections_;
            closeRequested_ = false;
            if (role_ != TRole::Silent)
                outgoing_ = std::string{IAC, DO, kTerminalType, IAC, WILL, kEcho} + outgoing_;
        }
        state_ = TState::Data;
        Serve(fd);
        ::close(fd);
        std::lock_guard lock(mutex_);
        ++closed_;
        flood_.clear();
    }
}

void TelnetPeer::Serve(int fd)
{
    std::string pending;  // bytes taken for sending, not yet written
    while (!stop_) {
        {
            std::lock_guard lock(mutex_);
            if (closeRequested_)
                return;
            pending += outgoing_;
            outgoing_.clear();
            if (pending.empty())
                pending = flood_;
        }
        pollfd fds[2] = {{fd, static_cast<short>(POLLIN | (pending.empty() ? 0 : POLLOUT)), 0},
                         {wakePipe_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return;
        if (fds[1].revents != 0) {
            char drain[64];
            while (::read(wakePipe_[0], drain, sizeof drain) > 0) {
            }
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            char buffer[4096];
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
                return;
            if (n > 0)
                pending += Take(std::string(buffer, static_cast<size_t>(n)));
        }
        if (!pending.empty() && (fds[0].revents & POLLOUT)) {
            const ssize_t n = ::send(fd, pending.data(), pending.size(), MSG_NOSIGNAL);
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                return;
            if (n > 0)
                pending.erase(0, static_cast<size_t>(n));
        }
    }
}

std::string TelnetPeer::Take(const std::string& bytes)
{
    std::string answers;
    std::lock_guard lock(mutex_);
    received_ += bytes;
    for (const char c : bytes) {
        switch (state_) {
        case TState::Data:
            if (c == IAC)
                state_ = TState::Command;
            else
                data_ += c;
            break;
        case TState::Command:
            if (c == IAC) {
                data_ += c;
                state_ = TState::Data;
            } else if (IsVerb(c)) {
                verb_ = c;
                state_ = TState::Option;
            } else if (c == SB) {
                sub_.clear();
                state_ = TState::Sub;
            } else {
                state_ = TState::Data;
            }
            break;
        case TState::Option:
            if (role_ == TRole::Mirror)
                answers += MirrorAnswer(verb_, c);
            // The client will name its terminal type: ask for it.
            else if (verb_ == WILL && c == kTerminalType)
                answers += std::string{IAC, SB, kTerminalType, 1, IAC, SE};
            state_ = TState::Data;
            break;
        case TState::Sub:
            if (c == IAC)
                state_ = TState::SubCommand;
            else
                sub_ += c;
            break;
        case TState::SubCommand:
            if (c == SE) {
                if (sub_.size() >= 2 && sub_[0] == kTerminalType && sub_[1] == 0)
                    terminalType_ = sub_.substr(2);
                state_ = TState::Data;
            } else {
                sub_ += c;
                state_ = TState::Sub;
            }
            break;
        }
    }
    return answers;
}
