#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// IPv4 TCP client with the blocking, bounded behaviour the device commands rely on.
// Every wait for the peer lasts at most ReadTimeout; a connect at most ConnectTimeout.
// Failures raise ENetError (ESocketError with errno, EConnectionError otherwise).
class TTcpClient final {
public:
    enum class TStatus { Resolving, Connecting, Connected, Disconnecting, Disconnected };
    using StatusHandler = std::function<void(TStatus status, const std::string& text)>;
    using Clock = std::chrono::steady_clock;

    // What a line read gives: the line without LF (and without one CR before it), or,
    // when a wait for data ran out, an empty line marked as timed out.
    struct Line {
        std::string text;
        bool timedOut = false;
    };

    // The longest wait of a connect: about what the system's own attempt takes to give up,
    // so that a dead host cannot freeze the window for minutes.
    static constexpr std::chrono::milliseconds kConnectTimeout{21000};

    TTcpClient() = default;
    ~TTcpClient();
    TTcpClient(const TTcpClient&) = delete;
    TTcpClient& operator=(const TTcpClient&) = delete;

    const std::string& Host() const { return host_; }
    void SetHost(std::string host) { host_ = std::move(host); }
    uint16_t Port() const { return port_; }
    void SetPort(uint16_t port) { port_ = port; }
    int ReadTimeout() const { return readTimeoutMs_; }
    void SetReadTimeout(int milliseconds) { readTimeoutMs_ = milliseconds; }
    void SetOnStatus(StatusHandler handler) { onStatus_ = std::move(handler); }
    std::chrono::milliseconds ConnectTimeout() const { return connectTimeout_; }
    void SetConnectTimeout(std::chrono::milliseconds timeout) { connectTimeout_ = timeout; }
    // While set, asked at least every kStopPoll while a connect, read or write waits; once
    // it answers true the wait ends by raising EConnectionError. Unset, waits run their time.
    static constexpr std::chrono::milliseconds kStopPoll{100};
    void SetStopWhen(std::function<bool()> stop) { stopWhen_ = std::move(stop); }

    // Resolves Host when it is not a dotted address, then connects to Port. The receive
    // buffer starts empty. Raises ESocketError when the host is unknown or the connect
    // fails or takes longer than ConnectTimeout (ETIMEDOUT).
    void Connect();
    // Shuts the socket down and closes it; nothing when not connected.
    void Disconnect();
    // Whether a socket is open on this side (the peer may have closed meanwhile).
    bool Connected() const { return fd_ >= 0; }
    // The socket, for watching it from an event loop; -1 when not connected.
    int Handle() const { return fd_; }

    // Reads the next line. A line longer than maxLength bytes raises, and its bytes up to
    // its LF are dropped, those still to come included; so does reaching the deadline, which bounds
    // the whole read. Bytes of a line not yet complete when a wait times out stay buffered for the
    // next read.
    Line ReadLn(size_t maxLength, std::optional<Clock::time_point> deadline = std::nullopt);
    // One byte; raises when none arrives within ReadTimeout.
    uint8_t ReadByte();
    // What has arrived (buffered bytes first, then one receive's worth), without waiting. Raises
    // EConnectionError when the peer has closed and nothing is left to read.
    std::string ReadAvailable();
    // Writes the bytes unchanged.
    void Write(std::string_view bytes);

private:
    void Status(TStatus status, const std::string& text);
    void RequireConnected() const;
    // Waits up to timeout for data and appends what came; false when the wait ran out.
    bool Fill(std::chrono::milliseconds timeout);
    // poll() for one event, restarted after signals; false when the time ran out.
    bool WaitFor(int fd, short events, std::chrono::milliseconds timeout) const;

    std::string host_;
    uint16_t port_ = 0;
    int readTimeoutMs_ = 1000;
    std::chrono::milliseconds connectTimeout_ = kConnectTimeout;
    StatusHandler onStatus_;
    std::function<bool()> stopWhen_;
    int fd_ = -1;
    std::string buffer_;
    bool discardingLine_ = false;
};
