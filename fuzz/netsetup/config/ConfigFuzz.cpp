// The network modules' UDP replies to each request of the configuration protocol (setup
// record read, record write and its confirmation, IP-SETUP, search), from a module on
// 127.0.0.1 that answers the request it gets with the input's datagrams, among them
// datagrams from another sender (127.0.0.2) and stale ones queued before the request.
// The record read is the first valid reply from the module that arrived after the request;
// a read or a write ends on a reply only once the module has sent one; the search lists each
// sender and MAC address of the valid search replies that arrived after the request, once,
// in the order they came. Boxes are answered from the input, then ended.
#include "fuzz/support/Fuzz.h"
#include "netsetup/ConfigDatagram.h"
#include "netsetup/LantronixConfig.h"
#include "platform/net/NetPorts.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using config_datagram::kRecordReply;
using config_datagram::kSearchReply;
using config_datagram::kWriteConfirm;
using fuzz::Require;

namespace {

enum class Request { ReadRecord, WriteConfig, WriteAssign, IPSetup, Search, kMaxValue = Search };

// A datagram for the configuration socket: sent before the request goes out (stale) or
// after the module got it, from the module or from another sender.
struct TDatagram {
    bool stale;
    bool fromModule;
    std::string bytes;
};

// A socket on a loopback address, at a port the system chooses.
int LoopbackSocket(const char* address)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in bound{};
    bound.sin_family = AF_INET;
    ::inet_pton(AF_INET, address, &bound.sin_addr);
    Require(fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&bound), sizeof bound) == 0,
            "the module and the other sender have their sockets");
    return fd;
}

std::string Reply(uint8_t type, std::string body = {})
{
    return std::string("\0\0\0", 3) + static_cast<char>(type) + body;
}

// Whether the datagram is a whole reply of the type: 00 00 00 and the type, then what is
// read from it (a record reply's 120-byte record, a search reply's MAC address at bytes 24 to
// 29).
bool IsWholeReply(const std::string& bytes, uint8_t type)
{
    const std::size_t least = type == kRecordReply   ? 4 + kSetupRecordSize
                              : type == kSearchReply ? 30
                                                     : 4;
    return bytes.size() >= least && bytes.compare(0, 4, Reply(type)) == 0;
}

// The module's socket, bound to 127.0.0.1 at ConfigPort for the whole run, and another
// sender's on 127.0.0.2.
class Module final {
public:
    Module() : fd_(LoopbackSocket("127.0.0.1")), other_(LoopbackSocket("127.0.0.2"))
    {
        sockaddr_in address{};
        socklen_t length = sizeof address;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        SetConfigPortForTesting(ntohs(address.sin_port));
    }

    // Sends the datagram to the configuration socket at port on 127.0.0.1.
    void Send(const TDatagram& datagram, uint16_t port) const
    {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(port);
        ::sendto(datagram.fromModule ? fd_ : other_, datagram.bytes.data(), datagram.bytes.size(),
                 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }

    // Waits for one request, or for `finished` to be signalled, and answers with the
    // datagrams that come after it, then from the module with the reply that ends a read or
    // write, so that no exchange waits out its time-out for a reply that fits. With stale
    // datagrams queued it waits 10 ms first (and answers nothing when `finished` comes
    // meanwhile), so that a request that takes one of them for its reply ends before any
    // answer is sent.
    void Answer(const std::vector<TDatagram>& datagrams, const std::string& closing,
                uint8_t replyType, int finished)
    {
        pollfd waits[2] = {{fd_, POLLIN, 0}, {finished, POLLIN, 0}};
        if (::poll(waits, 2, 5000) <= 0 || !(waits[0].revents & POLLIN))
            return;
        unsigned char request[512];
        sockaddr_in sender{};
        socklen_t length = sizeof sender;
        if (::recvfrom(fd_, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&sender),
                       &length) < 4)
            return;
        const bool anyStale = std::any_of(datagrams.begin(), datagrams.end(),
                                          [](const TDatagram& datagram) { return datagram.stale; });
        if (anyStale && ::poll(&waits[1], 1, 10) != 0)
            return;
        const auto send = [&](const TDatagram& datagram) {
            if (datagram.fromModule && IsWholeReply(datagram.bytes, replyType))
                replied_ = true;
            Send(datagram, ntohs(sender.sin_port));
        };
        for (const TDatagram& datagram : datagrams)
            if (!datagram.stale)
                send(datagram);
        send({false, true, closing});
        pollsWhenAnswered_ = fuzz::Answers().Processed();
    }

    // Whether the module has sent a whole reply of the request's type since the request.
    bool Replied() const { return replied_; }
    // How often the window's messages had been let through when the module had sent its
    // last answer; -1 when it answered nothing.
    int PollsWhenAnswered() const { return pollsWhenAnswered_; }

    // Forgets a request that nobody answered, and what was sent for the last one.
    void Drain()
    {
        replied_ = false;
        pollsWhenAnswered_ = -1;
        char request[512];
        while (::recv(fd_, request, sizeof request, MSG_DONTWAIT) >= 0) {
        }
    }

private:
    int fd_ = -1;
    int other_ = -1;
    std::atomic<bool> replied_ = false;
    std::atomic<int> pollsWhenAnswered_ = -1;
};

Module* module = nullptr;

// The datagrams of the input. Each is either a reply of a type near the protocol's, its
// record filled with a byte of its own (its place), cut where the input says, or any bytes.
std::vector<TDatagram> Datagrams(FuzzedDataProvider& input)
{
    std::vector<TDatagram> datagrams;
    while (input.remaining_bytes() > 0 && datagrams.size() < 8) {
        const auto kind = input.ConsumeIntegral<uint8_t>();
        TDatagram datagram{(kind & 1) != 0, (kind & 2) == 0, {}};
        if (kind & 4) {
            const auto type = input.ConsumeIntegralInRange<uint8_t>(0xF6, 0xFC);
            const std::size_t length =
                kind & 8 ? kSetupRecordSize : input.ConsumeIntegral<uint8_t>();
            datagram.bytes =
                Reply(type, std::string(length, static_cast<char>(datagrams.size() + 1)));
        } else {
            datagram.bytes = input.ConsumeRandomLengthString(300);
        }
        datagrams.push_back(std::move(datagram));
    }
    return datagrams;
}

// The first datagram after the request from the module that is a whole reply of the type.
std::string FirstValidReply(const std::vector<TDatagram>& datagrams, const std::string& closing,
                            uint8_t type)
{
    for (const TDatagram& datagram : datagrams)
        if (!datagram.stale && datagram.fromModule && IsWholeReply(datagram.bytes, type))
            return datagram.bytes;
    return closing;
}

// A module as a search lists it: the sender's address and the MAC address of its reply.
using TModule = std::pair<std::array<uint8_t, 4>, TMacAddress>;

// Each sender and MAC address of the whole search replies that came after the request, once,
// in the order they came: anyone who answers the search is a module.
std::vector<TModule> ModulesAnswering(const std::vector<TDatagram>& datagrams)
{
    std::vector<TModule> modules;
    for (const TDatagram& datagram : datagrams) {
        if (datagram.stale || !IsWholeReply(datagram.bytes, kSearchReply))
            continue;
        TModule sender{{127, 0, 0, uint8_t(datagram.fromModule ? 1 : 2)}, {}};
        std::copy_n(datagram.bytes.begin() + 24, sender.second.size(), sender.second.begin());
        if (std::find(modules.begin(), modules.end(), sender) == modules.end())
            modules.push_back(sender);
    }
    return modules;
}

// The search's list against the replies. Every reply is listed once the search has looked
// at its socket again after the module's last answer: each time the window's messages are
// let through follows a look, so the second time after that answer follows a look begun
// after it, and the search ends only after a look that found nothing. The bound on the whole
// search may end it before its replies are read, on a machine that stalls the search for a
// second or more: then only what is listed is checked.
void CheckSearch(const TLantronixConfig& config, const std::vector<TDatagram>& datagrams,
                 std::chrono::steady_clock::duration took)
{
    Require(config.DeviceCount == static_cast<int32_t>(config.Devices.size()),
            "the search counts the devices it lists");
    std::vector<TModule> listed;
    for (const TDeviceEntry& entry : config.Devices) {
        Require(entry.Name.size() <= 64, "a device's name has 64 characters at most");
        listed.emplace_back(entry.IP, entry.MAC);
    }
    const std::vector<TModule> answering = ModulesAnswering(datagrams);
    for (const TModule& one : listed)
        Require(std::count(listed.begin(), listed.end(), one) == 1 &&
                    std::find(answering.begin(), answering.end(), one) != answering.end(),
                "the search lists only modules that answered it, none from before it, each once");
    const int answered = module->PollsWhenAnswered();
    if (answered >= 0 && fuzz::Answers().Processed() >= answered + 2 &&
        took < std::chrono::seconds(1))
        Require(listed == answering,
                "the search lists every module that answered it, in the order they came");
}

void Run(TLantronixConfig& config, Request request, const std::string& ip, const std::string& mac,
         const std::string& expected)
{
    const std::string host = "127.0.0.1";
    TSetupRecord record{};
    switch (request) {
    case Request::ReadRecord:
        Require(config.GetSetupRecord(host, record), "the module's record reply is taken");
        Require(module->Replied(), "a read ends on a reply only once the module has sent one");
        Require(std::string(record.begin(), record.end()) == expected.substr(4, kSetupRecordSize),
                "the record is that of the first valid reply from the module after the request");
        break;
    case Request::WriteConfig:
    case Request::WriteAssign:
        Require(config.SetSetupRecord(host, record, request == Request::WriteAssign),
                "the module's confirmation is taken");
        Require(module->Replied(),
                "a write is confirmed only once the module has sent its confirmation");
        break;
    case Request::IPSetup:
        config.SendIPSetup(ip, mac);
        break;
    case Request::Search:
        // Two empty polls, 200 ms: the second comes after the module's answers.
        config.SearchDevices(200);
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartApplication();
    module = new Module;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const auto request = input.ConsumeEnum<Request>();
    fuzz::Answers().SetScript(input.ConsumeRandomLengthString(4));
    const std::string ip = input.ConsumeRandomLengthString(20);
    const std::string mac = input.ConsumeRandomLengthString(30);
    const std::vector<TDatagram> datagrams = Datagrams(input);
    const bool read = request == Request::ReadRecord;
    const std::string closing =
        read ? Reply(kRecordReply, std::string(kSetupRecordSize, '\xEE')) : Reply(kWriteConfirm);
    const uint8_t replyType = request == Request::Search ? kSearchReply
                              : read                     ? kRecordReply
                                                         : kWriteConfirm;
    const std::string expected = FirstValidReply(datagrams, closing, replyType);

    module->Drain();
    TLantronixConfig config;
    const uint16_t port = config.UDP1.LocalPort();
    for (const TDatagram& datagram : datagrams)
        if (datagram.stale)
            module->Send(datagram, port);
    const int finished = ::eventfd(0, EFD_CLOEXEC);
    std::thread answering([&] { module->Answer(datagrams, closing, replyType, finished); });
    const auto started = std::chrono::steady_clock::now();
    Run(config, request, ip, mac, expected);
    const auto took = std::chrono::steady_clock::now() - started;
    ::eventfd_write(finished, 1);
    answering.join();
    ::close(finished);
    if (request == Request::Search)
        CheckSearch(config, datagrams, took);
    return 0;
}
