#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A telnet server on 127.0.0.1 for the terminal's tests: a real TCP listener in its own
// thread serving one connection at a time. On each connection it asks for the terminal
// type (DO TERMINAL-TYPE) and offers to echo (WILL ECHO); when the client agrees to send
// its terminal type it asks for it (SB TERMINAL-TYPE SEND) and keeps the answer. It
// records every byte the client sends and can send anything, once or without end.
class TelnetPeer final {
public:
    enum class TRole {
        Server,  // opens with the offers above and asks for the terminal type
        Silent,  // says nothing until told to send
        Mirror,  // opens as Server does, then answers every option command the client sends
                 // by the terminal's own table, whatever state the option is in
    };

    explicit TelnetPeer(TRole role = TRole::Server);
    ~TelnetPeer();
    TelnetPeer(const TelnetPeer&) = delete;
    TelnetPeer& operator=(const TelnetPeer&) = delete;

    uint16_t Port() const { return port_; }

    // Sends the bytes unchanged on the current connection (or the next one).
    void Send(std::string bytes);
    // Sends the chunk again and again as fast as the client reads, until Stop or the
    // connection ends.
    void Flood(std::string chunk);
    void StopFlood();
    // Closes the current connection from the server's side.
    void CloseConnection();

    // Every byte the client sent, over all connections, as received.
    std::string Received() const;
    // What the client sent outside telnet commands, cut into lines at CR LF.
    std::vector<std::string> Lines() const;
    // The terminal type the client named; "" until it did.
    std::string TerminalType() const;
    int Connections() const;
    // Connections that have ended (closed by either side).
    int Closed() const;

private:
    enum class TState { Data, Command, Option, Sub, SubCommand };

    void Run();
    void Serve(int fd);
    void Wake();
    // Parses what the client sent and answers as a server; returns the answers to send.
    std::string Take(const std::string& bytes);

    const TRole role_;
    uint16_t port_ = 0;
    int listenFd_ = -1;
    int wakePipe_[2] = {-1, -1};
    std::thread thread_;
    std::atomic<bool> stop_{false};

    mutable std::mutex mutex_;
    std::string outgoing_;
    std::string flood_;
    bool closeRequested_ = false;
    std::string received_;
    std::string data_;
    std::string terminalType_;
    int connections_ = 0;
    int closed_ = 0;
    // Parser state (peer thread only).
    TState state_ = TState::Data;
    char verb_ = 0;
    std::string sub_;
};
