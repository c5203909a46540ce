#include "platform/net/ESocketError.h"
#include "platform/net/TTcpClient.h"
#include "platform/net/TableResolver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <memory>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A bare listening socket on 127.0.0.1; the peer side of one accepted connection is
// written to directly, so the tests control every byte and every pause.
class Peer final {
public:
    Peer()
    {
        listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listen_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listen_, 4);
        socklen_t length = sizeof address;
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~Peer()
    {
        CloseConnection();
        ::close(listen_);
    }
    uint16_t Port() const { return port_; }
    void Accept() { fd_ = ::accept(listen_, nullptr, nullptr); }
    void Send(std::string_view bytes)
    {
        ASSERT_EQ(::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(bytes.size()));
    }
    std::string Receive(size_t count)
    {
        std::string bytes(count, '\0');
        size_t got = 0;
        while (got < count) {
            const ssize_t n = ::recv(fd_, bytes.data() + got, count - got, 0);
            if (n <= 0)
                break;
            got += static_cast<size_t>(n);
        }
        bytes.resize(got);
        return bytes;
    }
    void CloseConnection()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int listen_ = -1;
    int fd_ = -1;
    uint16_t port_ = 0;
};

class TTcpClientTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        client.SetOnStatus(
            [this](TTcpClient::TStatus, const std::string& text) { status.push_back(text); });
        client.SetHost("127.0.0.1");
        client.SetPort(peer.Port());
        client.SetReadTimeout(200);
    }
    void ConnectAndAccept()
    {
        client.Connect();
        peer.Accept();
    }

    Peer peer;
    TTcpClient client;
    std::vector<std::string> status;
};

uint16_t UnusedPort()
{
    Peer probe;
    return probe.Port();  // closed again when probe goes
}

}  // namespace

TEST_F(TTcpClientTest, StatusTextsFollowConnectAndDisconnect)
{
    ConnectAndAccept();
    EXPECT_TRUE(client.Connected());
    client.Disconnect();
    EXPECT_FALSE(client.Connected());
    client.Disconnect();  // nothing when closed
    EXPECT_EQ(status, (std::vector<std::string>{"Connecting to 127.0.0.1.", "Connected.",
                                                "Disconnecting.", "Disconnected."}));
}

TEST_F(TTcpClientTest, AHostNameIsResolvedFirst)
{
    TableResolver resolver;
    resolver.AddName("device-a", {"127.0.0.1"});
    SetResolverForTesting(&resolver);
    client.SetHost("device-a");
    ConnectAndAccept();
    EXPECT_EQ(status, (std::vector<std::string>{"Resolving hostname device-a.",
                                                "Connecting to 127.0.0.1.", "Connected."}));

    client.Disconnect();
    client.SetHost("device-b");
    try {
        client.Connect();
        FAIL() << "an unknown host connected";
    } catch (const ESocketError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Socket Error # ", 0), 0u) << e.what();
    }
    EXPECT_FALSE(client.Connected());
    SetResolverForTesting(nullptr);
}

TEST_F(TTcpClientTest, ARefusedConnectRaisesTheSocketErrorWithErrnoAndItsText)
{
    client.SetPort(UnusedPort());
    try {
        client.Connect();
        FAIL() << "connected to a closed port";
    } catch (const ESocketError& e) {
        EXPECT_EQ(e.Code(), ECONNREFUSED);
        EXPECT_EQ(std::string(e.what()), "Socket Error # " + std::to_string(ECONNREFUSED) + "\r\n" +
                                             std::strerror(ECONNREFUSED));
    }
    EXPECT_FALSE(client.Connected());
}

TEST_F(TTcpClientTest, AConnectThatGetsNoAnswerGivesUpAtItsTimeOut)
{
    EXPECT_EQ(client.ConnectTimeout(), 21000ms);
    // A listener that never accepts: once its queue is full, further connects get no answer.
    std::vector<std::unique_ptr<TTcpClient>> queued;
    client.SetConnectTimeout(300ms);
    for (int i = 0; i < 16; ++i) {
        auto extra = std::make_unique<TTcpClient>();
        extra->SetHost("127.0.0.1");
        extra->SetPort(peer.Port());
        extra->SetConnectTimeout(300ms);
        try {
            extra->Connect();
        } catch (const ESocketError& e) {
            ASSERT_EQ(e.Code(), ETIMEDOUT);
            const auto start = Clock::now();
            EXPECT_THROW(client.Connect(), ESocketError);
            EXPECT_GE(Clock::now() - start, 290ms);
            EXPECT_FALSE(client.Connected());
            return;
        }
        queued.push_back(std::move(extra));
    }
    GTEST_SKIP() << "the listen queue never filled up";
}

TEST_F(TTcpClientTest, LinesEndAtLfLosingOneCrAndKeepEveryOtherByte)
{
    ConnectAndAccept();
    const std::string odd("A\0B\x80\xFF\rC", 7);
    peer.Send("one\r\ntwo\n\r\n" + odd + "\r\n");
    EXPECT_EQ(client.ReadLn(100).text, "one");
    EXPECT_EQ(client.ReadLn(100).text, "two");
    const auto empty = client.ReadLn(100);
    EXPECT_EQ(empty.text, "");
    EXPECT_FALSE(empty.timedOut);
    EXPECT_EQ(client.ReadLn(100).text, odd);
}

TEST_F(TTcpClientTest, ATimedOutReadKeepsTheUnfinishedLineForTheNextRead)
{
    ConnectAndAccept();
    peer.Send("QLS0005");
    const auto start = Clock::now();
    const auto line = client.ReadLn(100);
    EXPECT_TRUE(line.timedOut);
    EXPECT_EQ(line.text, "");
    EXPECT_GE(Clock::now() - start, 190ms);
    peer.Send("0800\r\n");
    EXPECT_EQ(client.ReadLn(100).text, "QLS00050800");
}

TEST_F(TTcpClientTest, TheLineLimitIsInclusiveAndAnEndlessLineFailsQuickly)
{
    ConnectAndAccept();
    peer.Send(std::string(100, 'x') + "\n");
    EXPECT_EQ(client.ReadLn(100).text.size(), 100u);
    peer.Send(std::string(101, 'x') + "\nnext\n");
    EXPECT_THROW(client.ReadLn(100), EConnectionError);
    EXPECT_EQ(client.ReadLn(100).text, "next");  // the over-long line is gone, not the next

    // The rest of an over-long line that is still to come is dropped as well.
    peer.Send(std::string(101, 'x'));
    EXPECT_THROW(client.ReadLn(100), EConnectionError);
    peer.Send("tail of it\nafter\n");
    EXPECT_EQ(client.ReadLn(100).text, "after");

    peer.Send(std::string(1 << 20, 'y'));
    const auto start = Clock::now();
    EXPECT_THROW(client.ReadLn(16384), EConnectionError);
    EXPECT_LT(Clock::now() - start, 1000ms);
}

TEST_F(TTcpClientTest, TheDeadlineBoundsAReadThatKeepsGettingBytes)
{
    ConnectAndAccept();
    std::thread dribble([this] {
        for (int i = 0; i < 12; ++i) {
            peer.Send("x");
            std::this_thread::sleep_for(50ms);
        }
    });
    const auto start = Clock::now();
    EXPECT_THROW(client.ReadLn(100, start + 300ms), EConnectionError);
    const auto took = Clock::now() - start;
    dribble.join();
    EXPECT_GE(took, 290ms);
    EXPECT_LT(took, 750ms);
}

TEST_F(TTcpClientTest, APeerThatClosesIsAnErrorAfterWhatItSent)
{
    ConnectAndAccept();
    peer.Send("last\n");
    peer.CloseConnection();
    EXPECT_EQ(client.ReadLn(100).text, "last");
    EXPECT_THROW(client.ReadLn(100), EConnectionError);
    EXPECT_THROW(client.ReadByte(), EConnectionError);
    // Writing to the closed peer raises instead of killing the program with SIGPIPE.
    EXPECT_THROW(
        {
            for (int i = 0; i < 100; ++i) {
                client.Write(std::string(4096, 'z'));
                std::this_thread::sleep_for(1ms);
            }
        },
        ESocketError);
    EXPECT_TRUE(client.Connected());
}

TEST_F(TTcpClientTest, BytesAreWrittenUnchangedAndReadOneByOne)
{
    ConnectAndAccept();
    const std::string bytes("\x01\x00\xFF\x04", 4);
    client.Write(bytes);
    EXPECT_EQ(peer.Receive(4), bytes);
    peer.Send("\x06\x15");
    EXPECT_EQ(client.ReadByte(), 0x06);
    EXPECT_EQ(client.ReadByte(), 0x15);
    const auto start = Clock::now();
    EXPECT_THROW(client.ReadByte(), EConnectionError);
    EXPECT_GE(Clock::now() - start, 190ms);
}

TEST_F(TTcpClientTest, TheReceiveBufferLastsAcrossReadsAndIsEmptiedOnConnect)
{
    ConnectAndAccept();
    peer.Send("first\nleft over\n");
    EXPECT_EQ(client.ReadLn(100).text, "first");
    client.Disconnect();
    peer.CloseConnection();
    ConnectAndAccept();
    peer.Send("fresh\n");
    EXPECT_EQ(client.ReadLn(100).text, "fresh");
}

TEST_F(TTcpClientTest, NothingWorksWithoutAConnection)
{
    EXPECT_THROW(client.ReadLn(100), EConnectionError);
    EXPECT_THROW(client.ReadByte(), EConnectionError);
    EXPECT_THROW(client.Write("x"), EConnectionError);
}
