// The UDP socket against bare peers on their own loopback addresses: what one read takes
// from the queue, and what it hands on, with the system's filter and without.
#include "platform/net/InetAddress.h"
#include "platform/net/TUdpSocket.h"
#include "simulators/DatagramFlood.h"
#include "tests/platform/net/SocketOptionMemory.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;
// A datagram as read: its sender's dotted address and its bytes.
using Read = std::pair<std::string, Bytes>;

// A bare UDP socket bound to its own loopback address.
class Peer final {
public:
    explicit Peer(const char* address) : address_(address)
    {
        fd_ = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = *DottedAddress(address);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local);
    }
    ~Peer() { ::close(fd_); }
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    const std::string& Address() const { return address_; }
    void SendTo(uint16_t port, const Bytes& bytes) const
    {
        sockaddr_in target{};
        target.sin_family = AF_INET;
        target.sin_port = htons(port);
        target.sin_addr.s_addr = *DottedAddress("127.0.0.1");
        ASSERT_EQ(::sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&target),
                           sizeof target),
                  static_cast<ssize_t>(bytes.size()));
    }

private:
    std::string address_;
    int fd_;
};

class TUdpSocketTest : public ::testing::Test {
protected:
    // Everything queued now, in order.
    std::vector<Read> ReadAll(TUdpSocket& from)
    {
        std::vector<Read> reads;
        from.ReceiveQueued([&](const TUdpDatagram& datagram) {
            reads.emplace_back(InetNtoa(datagram.sender),
                               Bytes(datagram.bytes.begin(), datagram.bytes.end()));
        });
        return reads;
    }

    // Every datagram admitted that comes until none has come for 100 ms (the loopback
    // delivers at once).
    std::vector<Read> ReadUntilQuiet(TUdpSocket& from)
    {
        std::vector<Read> reads;
        while (from.WaitForDatagram(100)) {
            const std::vector<Read> more = ReadAll(from);
            reads.insert(reads.end(), more.begin(), more.end());
        }
        return reads;
    }

    // Datagrams of at most 32 bytes.
    TUdpSocket socket{0, 32};
    Peer a{"127.0.0.2"};
    Peer b{"127.0.0.3"};
};

TEST_F(TUdpSocketTest, AReadTakesEverythingQueuedInOrderAndWaitsForNothing)
{
    const auto start = Clock::now();
    EXPECT_FALSE(socket.WaitForDatagram(50));
    EXPECT_GE(Clock::now() - start, 50ms);
    EXPECT_TRUE(ReadAll(socket).empty());

    // More than one batch of the system's, each cut to 32 bytes.
    std::vector<Read> sent;
    for (int i = 0; i < 200; ++i) {
        const Peer& peer = i % 3 == 0 ? b : a;
        Bytes bytes(static_cast<std::size_t>(1 + i % 40), static_cast<uint8_t>(i));
        peer.SendTo(socket.LocalPort(), bytes);
        bytes.resize(std::min<std::size_t>(bytes.size(), 32));
        sent.emplace_back(peer.Address(), bytes);
    }
    EXPECT_TRUE(socket.WaitForDatagram(1000));
    EXPECT_EQ(ReadAll(socket), sent);
    EXPECT_FALSE(socket.WaitForDatagram(0));
}

// Peers sending without pause refill the queue as fast as it is read: a read still ends,
// after what the queue holds at most. A larger queue asked for holds more.
TEST_F(TUdpSocketTest, AReadUnderAFloodEndsAfterOneQueuesWorth)
{
    DatagramFlood::Options options;
    options.targetPort = socket.LocalPort();
    options.datagram = Bytes(30, 0xF7);
    DatagramFlood flood(options);
    std::this_thread::sleep_for(50ms);
    for (int read = 0; read < 3; ++read) {
        ASSERT_TRUE(socket.WaitForDatagram(1000));
        const std::size_t count = socket.ReceiveQueued([](const TUdpDatagram&) {});
        EXPECT_GT(count, 0u) << read;
        EXPECT_LE(count, socket.QueueCapacity()) << read;
    }
    EXPECT_GT(TUdpSocket(1 << 20).QueueCapacity(), socket.QueueCapacity());
}

// Only what the admission admits is handed on, whenever it came: also a datagram queued
// before the admission changed is judged by it. Also where the system refuses the filter.
TEST_F(TUdpSocketTest, OnlyWhatTheAdmissionAdmitsIsHandedOn)
{
    const Bytes reply{0, 0, 0, 0xF7, 1, 2, 3, 4, 5, 6};
    Bytes shortReply(reply.begin(), reply.end() - 1);
    Bytes otherType = reply;
    otherType[3] = 0xF9;
    Bytes otherMac = reply;
    otherMac[9] = 0x66;
    // The first is queued before the admission.
    const std::vector<std::pair<const Peer*, Bytes>> datagrams{
        {&b, {0xEE}}, {&a, reply}, {&a, shortReply}, {&a, otherType}, {&b, reply}, {&a, otherMac}};

    TUdpAdmission replies;
    replies.prefix = {0, 0, 0, 0xF7};
    replies.minLength = reply.size();
    TUdpAdmission fromA = replies;
    fromA.sender = *DottedAddress("127.0.0.2");
    TUdpAdmission notAsMac;
    notAsMac.excludedOffset = 4;
    notAsMac.excluded = {{*DottedAddress("127.0.0.2"), {1, 2, 3, 4, 5, 6}}};
    // A prefix and an exclusion whose lengths are no multiple of four.
    TUdpAdmission odd;
    odd.prefix = {0, 0, 0};
    odd.excludedOffset = 3;
    odd.excluded = {{*DottedAddress("127.0.0.2"), {0xF7, 1, 2, 3, 4, 5, 6}}};
    struct Case {
        const char* what;
        TUdpAdmission admission;
        std::vector<int> admitted;  // indexes into datagrams
    };
    const std::vector<Case> cases{
        {"everything", TUdpAdmission{}, {0, 1, 2, 3, 4, 5}},
        {"nothing", TUdpAdmission::Nothing(), {}},
        {"search replies", replies, {1, 4, 5}},
        {"search replies from a", fromA, {1, 5}},
        // Also a's datagram of another type with that MAC is dropped.
        {"all but a's MAC", notAsMac, {0, 2, 4, 5}},
        {"odd lengths", odd, {2, 3, 4, 5}}};
    for (const int memory : SocketOptionMemory::Bounds()) {
        const SocketOptionMemory bound(memory);
        TUdpSocket socket(0, 32);
        for (const Case& c : cases) {
            socket.Admit(TUdpAdmission{});
            datagrams[0].first->SendTo(socket.LocalPort(), datagrams[0].second);
            ASSERT_TRUE(socket.WaitForDatagram(1000));
            socket.Admit(c.admission);
            for (std::size_t i = 1; i < datagrams.size(); ++i)
                datagrams[i].first->SendTo(socket.LocalPort(), datagrams[i].second);
            std::vector<Read> expected;
            for (int i : c.admitted)
                expected.emplace_back(datagrams[i].first->Address(), datagrams[i].second);
            EXPECT_EQ(ReadUntilQuiet(socket), expected) << c.what << ", option memory " << memory;
        }
    }
}

// More exclusions than a filter holds, or than the system takes: those beyond are told apart
// as they are read, and admitting the same again changes nothing.
TEST_F(TUdpSocketTest, ExclusionsBeyondWhatTheFilterHoldsAreToldApartAsRead)
{
    TUdpAdmission admission;
    admission.excludedOffset = 0;
    for (int i = 0; i < 2000; ++i)
        admission.excluded.emplace_back(
            *DottedAddress("127.0.0.2"),
            Bytes{static_cast<uint8_t>(i >> 8), static_cast<uint8_t>(i)});
    for (const int memory : SocketOptionMemory::Bounds()) {
        const SocketOptionMemory bound(memory);
        TUdpSocket socket(0, 32);
        socket.Admit(admission);
        socket.Admit(admission);
        a.SendTo(socket.LocalPort(), {0, 0});
        a.SendTo(socket.LocalPort(), {0x07, 0xCF});  // the last of 2000
        a.SendTo(socket.LocalPort(), {0x07, 0xD0});
        b.SendTo(socket.LocalPort(), {0, 0});
        EXPECT_EQ(ReadUntilQuiet(socket),
                  (std::vector<Read>{{a.Address(), {0x07, 0xD0}}, {b.Address(), {0, 0}}}))
            << "option memory " << memory;
    }
}

// A filter that the system takes drops what the admission refuses as it arrives: more such
// datagrams than the queue holds leave room for one it admits.
TEST_F(TUdpSocketTest, WhatTheFilterRefusesFillsNoQueue)
{
    TUdpAdmission fromB;
    fromB.sender = *DottedAddress("127.0.0.3");
    socket.Admit(fromB);
    for (std::size_t i = 0; i < socket.QueueCapacity() + 100; ++i)
        a.SendTo(socket.LocalPort(), {1});
    b.SendTo(socket.LocalPort(), {2});
    ASSERT_TRUE(socket.WaitForDatagram(1000));
    EXPECT_EQ(ReadAll(socket), (std::vector<Read>{{b.Address(), {2}}}));
}

}  // namespace
