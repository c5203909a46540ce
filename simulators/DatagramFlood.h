#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

// Peers that flood one UDP port: each peer sends from its own address and thread, without
// pause (or at a given pace), the same datagram again and again until the flood is stopped. Used by
// the tests and the benchmarks to stand in for devices that never stop talking.
class DatagramFlood final {
public:
    struct Options {
        // One peer per address, each sending from a port the system chooses.
        std::vector<std::string> peerAddresses{"127.0.0.10", "127.0.0.11", "127.0.0.12",
                                               "127.0.0.13"};
        std::string targetAddress = "127.0.0.1";
        uint16_t targetPort = 0;
        std::vector<uint8_t> datagram;
        // The last six bytes count up with every datagram a peer sends, as if each came
        // from another module's MAC address (the datagram must hold at least six bytes).
        bool countInLastBytes = false;
        // The pause after each datagram; 0: none, the peer sends at full rate.
        std::chrono::microseconds interval{0};
    };

    // Binds every peer, then starts them all.
    explicit DatagramFlood(Options options);
    // Stops the flood.
    ~DatagramFlood();
    DatagramFlood(const DatagramFlood&) = delete;
    DatagramFlood& operator=(const DatagramFlood&) = delete;

    // Stops every peer and waits for it; the count of sent datagrams stays.
    void Stop();
    // The datagrams the system took for sending so far (a full receive queue at the target
    // still drops them).
    uint64_t Sent() const;

private:
    void Run(int fd);

    Options options_;
    std::vector<int> fds_;
    std::vector<std::thread> peers_;
    std::atomic<bool> stop_{false};
    std::atomic<uint64_t> sent_{0};
};
