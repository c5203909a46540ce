#pragma once

#include "platform/net/TTcpClient.h"
#include "platform/net/TTelnetParser.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QSocketNotifier;

// A telnet connection for a terminal window: connects like the TCP client (same status
// texts and errors), answers the server's option negotiation (ECHO and end-of-record
// accepted, terminal type offered, everything else refused) and hands every other byte to
// the data event in chunks.
//
// Incoming bytes are read on the GUI thread from its event loop (a socket notifier), not by
// a reader thread: a reader that hands chunks to the GUI thread and waits for it would
// deadlock against a disconnect that joins it. The parser keeps its state between reads,
// so a command split across two reads is still understood. Handlers run inside the event
// loop and must not throw.
class TTelnetClient final {
public:
    using StatusHandler = TTcpClient::StatusHandler;
    using DataHandler = std::function<void(const std::string& data)>;

    TTelnetClient();
    ~TTelnetClient();
    TTelnetClient(const TTelnetClient&) = delete;
    TTelnetClient& operator=(const TTelnetClient&) = delete;

    const std::string& Host() const { return tcp_.Host(); }
    void SetHost(std::string host) { tcp_.SetHost(std::move(host)); }
    uint16_t Port() const { return tcp_.Port(); }
    void SetPort(uint16_t port) { tcp_.SetPort(port); }
    const std::string& TerminalType() const { return parser_.TerminalType(); }
    void SetTerminalType(std::string type) { parser_.SetTerminalType(std::move(type)); }
    void SetOnStatus(StatusHandler handler) { tcp_.SetOnStatus(std::move(handler)); }
    void SetOnDataAvailable(DataHandler handler) { onData_ = std::move(handler); }

    // Resolves and connects as TTcpClient::Connect does (raising its errors), then starts
    // reading. The parser starts afresh.
    void Connect();
    // Stops reading, then closes the socket; nothing when not connected. A peer that closes
    // the connection disconnects it the same way.
    void Disconnect();
    bool Connected() const { return tcp_.Connected(); }

    // Sends the line's bytes and CR LF, unescaped: the device's service reads raw bytes.
    void SendLine(std::string_view line);

private:
    void ReadAvailable();
    // Runs the bytes through the parser; answers go out at once, data to the data event.
    void Process(std::string_view bytes);

    TTcpClient tcp_;
    std::unique_ptr<QSocketNotifier> notifier_;
    TTelnetParser parser_;
    DataHandler onData_;
    bool reading_ = false;
};
