#pragma once

#include "platform/net/TTcpClient.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// The command channel to one device at a time: the TCP connection TCP1, the echoed line
// exchange, the acknowledged block exchange and the communication log. Everything blocks
// the calling (GUI) thread; every wait is bounded.
class TDeviceConnection final {
public:
    using LogSink = std::function<void(const std::string& line)>;

    // The longest line a device may send.
    static constexpr size_t kMaxLineLength = 16384;
    // One command attempt may last at most this many times its time-out in all, so a
    // device that keeps sending lines without the echo, or a byte now and then, cannot
    // hold the window for good.
    static constexpr int kAttemptDeadlineFactor = 10;

    explicit TDeviceConnection(LogSink log);
    TDeviceConnection(const TDeviceConnection&) = delete;
    TDeviceConnection& operator=(const TDeviceConnection&) = delete;

    TTcpClient& TCP1() { return tcp_; }

    // Appends "hh:nn:ss:zzz " and the text to the log.
    void LogLine(const std::string& text);
    void TCP1Status(TTcpClient::TStatus status, const std::string& text);

    // Opens the connection to the host (trimmed) on DevicePort unless one is open; true
    // when one is open afterwards. Resolve and connect failures raise ESocketError, unless
    // the session's end stopped the connect (false).
    bool ConnectDevice(const std::string& host);
    void DisconnectDevice();

    // How the last SendCommand ended: on the device's echo, on a read that timed out, in
    // the failure box (Cancel or Ignore), or by the session's end (false, no box).
    enum class TCommandEnd { Echo, TimedOut, Failed, Stopped };

    // Sends the command line and takes the text after its echo as the reply. A read that
    // times out is a success with an empty reply. A connection failure asks Cancel
    // (false), Retry or Ignore (true); the reply then holds the failure text.
    bool SendCommand(const std::string& command, std::string& reply, int timeout);
    TCommandEnd LastCommandEnd() const { return lastEnd_; }
    // Sends the bytes and waits for one reply byte; only 06 succeeds. A failure asks
    // Cancel (false) or Retry.
    bool SendBlock(const uint8_t* bytes, size_t count, int timeout);

    // While one lives, the session's end (ui::SessionEnding) stops the command under way,
    // which only reads from the device: an exchange or connect not yet begun is not begun,
    // one under way ends within TTcpClient::kStopPoll, neither shows a box, and Stopped()
    // tells the command. A session manager waits seconds, not the minutes a device's whole
    // list can take.
    class TStopAtSessionEnd final {
    public:
        explicit TStopAtSessionEnd(TDeviceConnection& connection);
        ~TStopAtSessionEnd();
        TStopAtSessionEnd(const TStopAtSessionEnd&) = delete;
        TStopAtSessionEnd& operator=(const TStopAtSessionEnd&) = delete;

    private:
        TDeviceConnection& connection_;
    };
    bool Stopped() const;

    // Disconnects when it goes out of scope, on every path.
    class TDisconnectOnExit final {
    public:
        explicit TDisconnectOnExit(TDeviceConnection& connection) : connection_(connection) {}
        ~TDisconnectOnExit() { connection_.DisconnectDevice(); }
        TDisconnectOnExit(const TDisconnectOnExit&) = delete;
        TDisconnectOnExit& operator=(const TDisconnectOnExit&) = delete;

    private:
        TDeviceConnection& connection_;
    };

private:
    LogSink log_;
    TTcpClient tcp_;
    TCommandEnd lastEnd_ = TCommandEnd::Echo;
    bool stopAtSessionEnd_ = false;
};
