#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fuzz {

// The peer's side of one TCP connection on 127.0.0.1: plays back the bytes of an input.
class LoopbackConnection final {
public:
    explicit LoopbackConnection(int fd) : fd_(fd) {}
    ~LoopbackConnection();
    LoopbackConnection(const LoopbackConnection&) = delete;
    LoopbackConnection& operator=(const LoopbackConnection&) = delete;

    // Sends as much of the bytes as the socket takes without waiting (all of an input of
    // fuzzing size), then closes the sending side, so that the client reads them to the end
    // and never waits for more.
    void PlayAndClose(std::string_view bytes);
    // What the client sent, up to its closing the connection (waiting at most 5 s).
    std::string ReceiveToEnd();

private:
    int fd_;
};

// A listening socket on 127.0.0.1 standing in for a device or a telnet server. The client
// connects first; Accept then takes that connection.
class LoopbackListener final {
public:
    LoopbackListener();
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    uint16_t Port() const { return port_; }
    // Aborts when no connection is waiting: the client's connect has failed.
    int Accept();

private:
    int fd_ = -1;
    uint16_t port_ = 0;
};

}  // namespace fuzz
