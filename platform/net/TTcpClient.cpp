#include "platform/net/TTcpClient.h"

#include "platform/net/ESocketError.h"
#include "platform/net/InetAddress.h"
#include "platform/net/Resolver.h"
#include "platform/text/Format.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

using std::chrono::duration_cast;
using std::chrono::milliseconds;

namespace {

constexpr size_t kChunk = 64 * 1024;

}  // namespace

bool TTcpClient::WaitFor(int fd, short events, milliseconds timeout) const
{
    const auto end = Clock::now() + timeout;
    for (;;) {
        if (stopWhen_ && stopWhen_())
            throw EConnectionError("Stopped.");
        auto left =
            std::max<int64_t>(0, std::chrono::ceil<milliseconds>(end - Clock::now()).count());
        if (stopWhen_)
            left = std::min<int64_t>(left, kStopPoll.count());
        pollfd p{fd, events, 0};
        const int n = poll(&p, 1, static_cast<int>(left));
        if (n > 0)
            return true;
        if (n == 0 && Clock::now() >= end)
            return false;
        if (n < 0 && errno != EINTR)
            throw ESocketError::FromErrno(errno);
    }
}

TTcpClient::~TTcpClient()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void TTcpClient::Status(TStatus status, const std::string& text)
{
    if (onStatus_)
        onStatus_(status, text);
}

void TTcpClient::RequireConnected() const
{
    if (fd_ < 0)
        throw EConnectionError("Not Connected");
}

void TTcpClient::Connect()
{
    if (fd_ >= 0)
        return;
    buffer_.clear();
    discardingLine_ = false;
    if (!DottedAddress(host_))
        Status(TStatus::Resolving, Format("Resolving hostname %s.", host_));
    const InAddr address = HostAddress(host_);
    Status(TStatus::Connecting, Format("Connecting to %s.", InetNtoa(address)));

    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        throw ESocketError::FromErrno(errno);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port_);
    peer.sin_addr.s_addr = address;
    int err = 0;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) {
        err = errno;
        if (err == EINPROGRESS) {
            try {
                err = WaitFor(fd, POLLOUT, connectTimeout_) ? 0 : ETIMEDOUT;
            } catch (...) {
                ::close(fd);
                throw;
            }
            if (err == 0) {
                socklen_t len = sizeof err;
                if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0)
                    err = errno;
            }
        }
    }
    if (err != 0) {
        ::close(fd);
        throw ESocketError::FromErrno(err);
    }
    fd_ = fd;
    Status(TStatus::Connected, "Connected.");
}

void TTcpClient::Disconnect()
{
    if (fd_ < 0)
        return;
    Status(TStatus::Disconnecting, "Disconnecting.");
    ::shutdown(fd_, SHUT_RDWR);
    ::close(fd_);
    fd_ = -1;
    Status(TStatus::Disconnected, "Disconnected.");
}

bool TTcpClient::Fill(milliseconds timeout)
{
    if (!WaitFor(fd_, POLLIN, timeout))
        return false;
    char chunk[kChunk];
    for (;;) {
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n > 0) {
            buffer_.append(chunk, static_cast<size_t>(n));
            return true;
        }
        if (n == 0)
            throw EConnectionError("Connection Closed Gracefully.");
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return true;  // woken without data: the caller looks again
        if (errno != EINTR)
            throw ESocketError::FromErrno(errno);
    }
}

TTcpClient::Line TTcpClient::ReadLn(size_t maxLength, std::optional<Clock::time_point> deadline)
{
    RequireConnected();
    size_t scanned = 0;
    for (;;) {
        if (discardingLine_) {
            // The rest of a line that was too long is no line of its own.
            const size_t end = buffer_.find('\n');
            discardingLine_ = end == std::string::npos;
            buffer_.erase(0, discardingLine_ ? buffer_.size() : end + 1);
            scanned = 0;
        }
        const size_t lf = buffer_.find('\n', scanned);
        if (lf != std::string::npos) {
            if (lf > maxLength) {
                buffer_.erase(0, lf + 1);
                throw EConnectionError("Max line length exceeded.");
            }
            Line line{buffer_.substr(0, lf), false};
            buffer_.erase(0, lf + 1);
            if (!line.text.empty() && line.text.back() == '\r')
                line.text.pop_back();
            return line;
        }
        if (buffer_.size() > maxLength) {
            buffer_.clear();
            discardingLine_ = true;
            throw EConnectionError("Max line length exceeded.");
        }
        scanned = buffer_.size();

        milliseconds wait{readTimeoutMs_};
        bool deadlineBound = false;
        if (deadline) {
            const auto left = duration_cast<milliseconds>(*deadline - Clock::now());
            if (left <= milliseconds::zero())
                throw EConnectionError("Read deadline exceeded.");
            if (left < wait) {
                wait = left;
                deadlineBound = true;
            }
        }
        if (!Fill(wait)) {
            if (deadlineBound)
                throw EConnectionError("Read deadline exceeded.");
            return Line{"", true};
        }
    }
}

uint8_t TTcpClient::ReadByte()
{
    RequireConnected();
    const auto end = Clock::now() + milliseconds(readTimeoutMs_);
    while (buffer_.empty()) {
        const auto left = duration_cast<milliseconds>(end - Clock::now());
        if (left < milliseconds::zero() || !Fill(left))
            throw EConnectionError("Read timed out.");
    }
    const auto byte = static_cast<uint8_t>(buffer_.front());
    buffer_.erase(0, 1);
    return byte;
}

std::string TTcpClient::ReadAvailable()
{
    RequireConnected();
    std::string bytes;
    bytes.swap(buffer_);
    // One receive at most: a peer that sends without pause must not keep the caller here.
    char chunk[kChunk];
    for (;;) {
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n > 0) {
            bytes.append(chunk, static_cast<size_t>(n));
            return bytes;
        }
        if (n == 0) {
            if (bytes.empty())
                throw EConnectionError("Connection Closed Gracefully.");
            return bytes;  // the close is reported by the next read
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return bytes;
        if (errno != EINTR)
            throw ESocketError::FromErrno(errno);
    }
}

void TTcpClient::Write(std::string_view bytes)
{
    RequireConnected();
    while (!bytes.empty()) {
        const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n >= 0) {
            bytes.remove_prefix(static_cast<size_t>(n));
            continue;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            // A peer that stops reading must not hold the window for good.
            if (!WaitFor(fd_, POLLOUT, milliseconds(readTimeoutMs_)))
                throw EConnectionError("Write timed out.");
        } else if (errno != EINTR) {
            throw ESocketError::FromErrno(errno);
        }
    }
}
