#include "platform/net/TUdpSocket.h"

#include "platform/net/ESocketError.h"
#include "platform/net/InetAddress.h"
#include "platform/net/NetPorts.h"

#include <linux/filter.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

// Datagrams taken from the system in one call.
constexpr std::size_t kBatch = 64;
// The system charges a queued datagram for its buffer and bookkeeping as well as its bytes:
// about 800 bytes for a short one here. Half a kilobyte is less than any system charges,
// so the capacity errs on the side of reading more.
constexpr std::size_t kLeastDatagramMemory = 512;

// The admission as a socket filter program. The program sees a datagram from its UDP
// header on; the sender's address lies in the IP header before it.
class AdmissionProgram final {
public:
    // With the first excludedLimit exclusions at most.
    AdmissionProgram(const TUdpAdmission& admission, std::size_t excludedLimit)
    {
        if (admission.nothing) {
            Reject();
            return;
        }
        std::vector<Test> required = Holds(0, admission.prefix);
        required.push_back(LengthAtLeast(admission.minLength));
        if (admission.sender)
            required.push_back(From(*admission.sender));
        for (const Test& test : required)
            Require(test);
        for (std::size_t i = 0; i < std::min(excludedLimit, admission.excluded.size()); ++i) {
            const auto& [sender, bytes] = admission.excluded[i];
            std::vector<Test> tests = Holds(admission.excludedOffset, bytes);
            tests.insert(tests.begin(), From(sender));
            if (!Exclude(tests))
                break;
        }
        code_.push_back(BPF_STMT(BPF_RET | BPF_K, 0xFFFFFFFFu));
    }

    const std::vector<sock_filter>& Code() const { return code_; }

private:
    // One load and the comparison its value must pass.
    struct Test {
        uint16_t load;  // the whole load instruction
        uint32_t operand;
        uint16_t compare;  // BPF_JEQ or BPF_JGE
        uint32_t value;
    };

    static constexpr uint32_t kUdpHeader = 8;
    static constexpr uint32_t kSenderOffset = static_cast<uint32_t>(SKF_NET_OFF) + 12;

    static Test LengthAtLeast(std::size_t length)
    {
        return {BPF_LD | BPF_W | BPF_LEN, 0, BPF_JGE, static_cast<uint32_t>(kUdpHeader + length)};
    }

    static Test From(InAddr sender)
    {
        return {BPF_LD | BPF_W | BPF_ABS, kSenderOffset, BPF_JEQ, ntohl(sender)};
    }

    // The datagram is long enough and holds bytes at offset: loads of four, two and one byte
    // (big-endian). The length comes first, since a load past the end would drop the
    // datagram whatever the program says.
    static std::vector<Test> Holds(std::size_t offset, const std::vector<uint8_t>& bytes)
    {
        std::vector<Test> tests{LengthAtLeast(offset + bytes.size())};
        for (std::size_t i = 0; i < bytes.size();) {
            const std::size_t size = bytes.size() - i >= 4 ? 4 : bytes.size() - i >= 2 ? 2 : 1;
            uint32_t value = 0;
            for (std::size_t k = 0; k < size; ++k)
                value = value << 8 | bytes[i + k];
            const uint16_t load = size == 4 ? BPF_W : size == 2 ? BPF_H : BPF_B;
            tests.push_back({static_cast<uint16_t>(BPF_LD | load | BPF_ABS),
                             static_cast<uint32_t>(kUdpHeader + offset + i), BPF_JEQ, value});
            i += size;
        }
        return tests;
    }

    void Reject() { code_.push_back(BPF_STMT(BPF_RET | BPF_K, 0)); }

    // A datagram that fails the test is dropped.
    void Require(const Test& test)
    {
        code_.push_back(BPF_STMT(test.load, test.operand));
        code_.push_back(BPF_JUMP(BPF_JMP | test.compare | BPF_K, test.value, 1, 0));
        Reject();
    }

    // A datagram that passes every test is dropped; false when the block no longer fits
    // into the system's bound (the accepting return still to come).
    bool Exclude(const std::vector<Test>& tests)
    {
        const std::size_t size = 2 * tests.size() + 1;
        // A jump reaches 255 instructions at most.
        if (size > 256 || code_.size() + size + 1 > BPF_MAXINSNS)
            return false;
        for (std::size_t i = 0; i < tests.size(); ++i) {
            // A failed test jumps past the rest of the block and its dropping return.
            const auto pastBlock = static_cast<uint8_t>(2 * (tests.size() - i) - 1);
            code_.push_back(BPF_STMT(tests[i].load, tests[i].operand));
            code_.push_back(
                BPF_JUMP(BPF_JMP | tests[i].compare | BPF_K, tests[i].value, 0, pastBlock));
        }
        Reject();
        return true;
    }

    std::vector<sock_filter> code_;
};

sockaddr_in SocketAddress(uint32_t address, uint16_t port)
{
    sockaddr_in sin{};
    sin.sin_family = AF_INET;
    sin.sin_port = htons(port);
    sin.sin_addr.s_addr = address;
    return sin;
}

}  // namespace

TUdpAdmission TUdpAdmission::Nothing()
{
    TUdpAdmission admission;
    admission.nothing = true;
    return admission;
}

TUdpSocket::TUdpSocket(int receiveQueueBytes, std::size_t datagramBytes)
    : receiveQueueBytes_(receiveQueueBytes), datagramBytes_(datagramBytes)
{
}

TUdpSocket::~TUdpSocket()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int TUdpSocket::Handle()
{
    if (fd_ >= 0)
        return fd_;
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        throw ESocketError::FromErrno(errno);
    const sockaddr_in any = SocketAddress(INADDR_ANY, 0);
    int granted = 0;
    socklen_t grantedLength = sizeof granted;
    if ((receiveQueueBytes_ > 0 && ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveQueueBytes_,
                                                sizeof receiveQueueBytes_) != 0) ||
        ::getsockopt(fd, SOL_SOCKET, SO_RCVBUF, &granted, &grantedLength) != 0 ||
        ::bind(fd, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
        const int err = errno;
        ::close(fd);
        throw ESocketError::FromErrno(err);
    }
    fd_ = fd;
    // The system takes one datagram more while the queue is not yet over its size.
    queueCapacity_ = static_cast<std::size_t>(std::max(granted, 0)) / kLeastDatagramMemory + 1;
    return fd_;
}

uint16_t TUdpSocket::LocalPort()
{
    sockaddr_in local{};
    socklen_t len = sizeof local;
    if (::getsockname(Handle(), reinterpret_cast<sockaddr*>(&local), &len) != 0)
        throw ESocketError::FromErrno(errno);
    return ntohs(local.sin_port);
}

std::size_t TUdpSocket::QueueCapacity()
{
    Handle();
    return queueCapacity_;
}

void TUdpSocket::Admit(const TUdpAdmission& admission)
{
    Handle();
    admission_ = admission;
    // Every read tells datagrams apart by the admission: the filter only spares the queue
    // and the reads what it refuses, so it is a help, never a condition.
    for (std::size_t limit = admission.excluded.size();; limit /= 2) {
        std::vector<sock_filter> code = AdmissionProgram(admission, limit).Code();
        if (code.size() < refusedLength_ && Attach(std::move(code)))
            return;
        if (limit == 0) {
            Detach();
            return;
        }
    }
}

bool TUdpSocket::Attach(std::vector<sock_filter> code)
{
    const auto same = [](const sock_filter& a, const sock_filter& b) {
        return a.code == b.code && a.jt == b.jt && a.jf == b.jf && a.k == b.k;
    };
    if (std::equal(code.begin(), code.end(), admitting_.begin(), admitting_.end(), same))
        return true;
    const sock_fprog program{static_cast<unsigned short>(code.size()), code.data()};
    const auto attached = [&] {
        return ::setsockopt(fd_, SOL_SOCKET, SO_ATTACH_FILTER, &program, sizeof program) == 0;
    };
    bool inForce = attached();
    // The system charges a socket for its filter (net.core.optmem_max), the old one until
    // the new one is in force: without the old one, the new one may fit.
    if (!inForce && !admitting_.empty()) {
        Detach();
        inForce = attached();
    }
    if (!inForce) {
        refusedLength_ = code.size();
        return false;
    }
    admitting_ = std::move(code);
    return true;
}

void TUdpSocket::Detach()
{
    if (admitting_.empty())
        return;
    // A filter left in force would drop what the admission admits.
    const int unused = 0;
    if (::setsockopt(fd_, SOL_SOCKET, SO_DETACH_FILTER, &unused, sizeof unused) != 0)
        throw ESocketError::FromErrno(errno);
    admitting_.clear();
}

bool TUdpSocket::Admits(const TUdpDatagram& datagram, std::size_t length) const
{
    const TUdpAdmission& a = admission_;
    const auto holds = [&](std::size_t offset, const std::vector<uint8_t>& bytes) {
        return datagram.bytes.size() >= offset + bytes.size() &&
               std::equal(bytes.begin(), bytes.end(), datagram.bytes.begin() + offset);
    };
    return !a.nothing && length >= a.minLength && holds(0, a.prefix) &&
           (!a.sender || *a.sender == datagram.sender) &&
           std::none_of(a.excluded.begin(), a.excluded.end(), [&](const auto& excluded) {
               return excluded.first == datagram.sender && holds(a.excludedOffset, excluded.second);
           });
}

void TUdpSocket::SendTo(InAddr address, uint16_t port, std::span<const uint8_t> bytes)
{
    const sockaddr_in peer = SocketAddress(address, port);
    for (;;) {
        if (::sendto(Handle(), bytes.data(), bytes.size(), 0,
                     reinterpret_cast<const sockaddr*>(&peer), sizeof peer) >= 0)
            return;
        if (errno != EINTR)
            throw ESocketError::FromErrno(errno);
    }
}

void TUdpSocket::Broadcast(uint16_t port, std::span<const uint8_t> bytes)
{
    const int on = 1;
    if (::setsockopt(Handle(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0)
        throw ESocketError::FromErrno(errno);
    SendTo(BroadcastAddress(), port, bytes);
}

bool TUdpSocket::WaitForDatagram(int timeoutMs)
{
    const int fd = Handle();
    const auto end = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        if (!held_.empty())
            return true;
        // Rounded up, so that the wait is never shorter than asked.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now());
        pollfd p{fd, POLLIN, 0};
        const int n = ::poll(&p, 1, static_cast<int>(std::max<int64_t>(0, left.count())));
        if (n > 0) {
            // Only a datagram admitted ends the wait, so what the filter let in but the
            // admission refuses is told apart here: a batch at a time until one is admitted,
            // at most a queue's worth before the time is looked at again.
            const auto hold = [this](const TUdpDatagram& datagram, std::size_t length) {
                held_.push_back({{datagram.bytes.begin(), datagram.bytes.end()}, length,
                                 datagram.sender});
            };
            for (std::size_t read = 0; held_.empty() && read < queueCapacity_;) {
                const std::size_t most = std::min(kBatch, queueCapacity_ - read);
                const std::size_t got = Read(most, hold);
                read += got;
                if (got < most)
                    break;
            }
            continue;
        }
        if (n == 0 && Clock::now() >= end)
            return false;
        if (n < 0 && errno != EINTR)
            throw ESocketError::FromErrno(errno);
    }
}

std::size_t TUdpSocket::ReceiveQueued(const std::function<void(const TUdpDatagram&)>& take)
{
    Handle();
    std::size_t read = 0;
    std::size_t handed = 0;
    const auto hand = [&](const TUdpDatagram& datagram, std::size_t) {
        ++handed;
        take(datagram);
    };
    // What a wait read first, judged again: the admission may have changed since.
    for (; !held_.empty() && read < queueCapacity_; ++read) {
        const Held held = std::move(held_.front());
        held_.pop_front();
        const TUdpDatagram datagram{held.bytes, held.sender};
        if (Admits(datagram, held.length))
            hand(datagram, held.length);
    }
    Read(queueCapacity_ - read, hand);
    return handed;
}

std::size_t TUdpSocket::Read(std::size_t most, const Take& take)
{
    slots_.resize(kBatch * datagramBytes_);
    std::array<mmsghdr, kBatch> headers;
    std::array<iovec, kBatch> parts;
    std::array<sockaddr_in, kBatch> senders;
    std::size_t count = 0;
    while (count < most) {
        const std::size_t want = std::min(kBatch, most - count);
        for (std::size_t i = 0; i < want; ++i) {
            parts[i] = {slots_.data() + i * datagramBytes_, datagramBytes_};
            headers[i] = {};
            headers[i].msg_hdr.msg_name = &senders[i];
            headers[i].msg_hdr.msg_namelen = sizeof senders[i];
            headers[i].msg_hdr.msg_iov = &parts[i];
            headers[i].msg_hdr.msg_iovlen = 1;
        }
        // MSG_TRUNC: each datagram's whole length, however much of it fits.
        const int got = ::recvmmsg(fd_, headers.data(), static_cast<unsigned>(want),
                                   MSG_DONTWAIT | MSG_TRUNC, nullptr);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                break;
            throw ESocketError::FromErrno(errno);
        }
        for (std::size_t i = 0; i < static_cast<std::size_t>(got); ++i) {
            ++count;
            const std::size_t length = headers[i].msg_len;
            const TUdpDatagram datagram{
                std::span<const uint8_t>(slots_.data() + i * datagramBytes_,
                                         std::min(length, datagramBytes_)),
                senders[i].sin_addr.s_addr};
            // Judged one by one: take may change the admission.
            if (Admits(datagram, length))
                take(datagram, length);
        }
        // Fewer than asked for: the queue is empty.
        if (static_cast<std::size_t>(got) < want)
            break;
    }
    return count;
}
