#include "DatagramFlood.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace {

// Datagrams sent between two looks at the stop flag and two updates of the count.
constexpr int kBurst = 256;
constexpr std::size_t kCounterBytes = 6;

sockaddr_in Address(const std::string& text, uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (::inet_pton(AF_INET, text.c_str(), &address.sin_addr) != 1)
        throw std::runtime_error("DatagramFlood: no address " + text);
    return address;
}

// Counts up the last bytes of the datagram as one big-endian number.
void CountUp(std::vector<uint8_t>& datagram)
{
    for (std::size_t i = datagram.size(); i > datagram.size() - kCounterBytes; --i)
        if (++datagram[i - 1] != 0)
            return;
}

}  // namespace

DatagramFlood::DatagramFlood(Options options) : options_(std::move(options))
{
    if (options_.countInLastBytes && options_.datagram.size() < kCounterBytes)
        throw std::runtime_error("DatagramFlood: the datagram is too short to count in");
    for (const std::string& peer : options_.peerAddresses) {
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const sockaddr_in local = Address(peer, 0);
        if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
            if (fd >= 0)
                ::close(fd);
            for (const int open : fds_)
                ::close(open);
            throw std::runtime_error("DatagramFlood: cannot bind " + peer);
        }
        fds_.push_back(fd);
    }
    for (const int fd : fds_)
        peers_.emplace_back([this, fd] { Run(fd); });
}

DatagramFlood::~DatagramFlood()
{
    Stop();
    for (const int fd : fds_)
        ::close(fd);
}

void DatagramFlood::Stop()
{
    stop_ = true;
    for (auto& peer : peers_)
        if (peer.joinable())
            peer.join();
}

uint64_t DatagramFlood::Sent() const
{
    return sent_;
}

void DatagramFlood::Run(int fd)
{
    const sockaddr_in target = Address(options_.targetAddress, options_.targetPort);
    std::vector<uint8_t> datagram = options_.datagram;
    const bool paced = options_.interval.count() > 0;
    while (!stop_.load(std::memory_order_relaxed)) {
        uint64_t sent = 0;
        for (int i = 0; i < (paced ? 1 : kBurst); ++i) {
            if (options_.countInLastBytes)
                CountUp(datagram);
            if (::sendto(fd, datagram.data(), datagram.size(), 0,
                         reinterpret_cast<const sockaddr*>(&target), sizeof target) >= 0)
                ++sent;
        }
        sent_ += sent;
        if (paced)
            std::this_thread::sleep_for(options_.interval);
    }
}
