// The network modules' UDP replies to each request of the configuration protocol (setup
// record read, record write and its confirmation, IP-SETUP, search), from a module on
// 127.0.0.1 that answers the request it gets with the input's datagrams, among them
// datagrams from another sender (127.0.0.2), stale ones queued before the request, and for a
// search early ones that come while it watches for modules that keep answering, before its
// broadcast. The record read is the first valid reply from the module that arrived after
// the request; a read or a write ends on a reply only once the module has sent one. The
// search lists each module (sender and MAC address) that sent three whole search replies
// while it watched, in the order they did, then each that answered its broadcast, once
// each, and no other. Boxes are answered from the input, then ended.
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
#include <map>
#include <optional>
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

// When a datagram for the configuration socket is sent: before the request goes out
// (stale), while a search watches before its broadcast (early), or once the module got the
// request (an answer; early datagrams of other requests are answers too).
enum class Phase { Stale, Early, Answer };

// A datagram for the configuration socket, from the module or from another sender.
struct TDatagram {
    Phase phase;
    bool fromModule;
    std::string bytes;
};

using Clock = std::chrono::steady_clock;

// When the module sends the early datagrams after the search began: well after it dropped
// what was queued, and well before its watch of 50 ms ends.
constexpr auto kEarly = std::chrono::milliseconds(20);
constexpr auto kWatch = std::chrono::milliseconds(50);
// The search's time-out (two quiet waits of 100 ms), and the bound on the whole search.
constexpr int kSearchTimeout = 200;
constexpr auto kSearchBound = std::chrono::milliseconds(10 * kSearchTimeout);

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

    // For a search begun at `called`, sends the early datagrams to port kEarly after it. Then waits
    // for one request, or for `finished` to be signalled, and answers with the datagrams
    // that come after it, then from the module with the reply that ends a read or write, so
    // that no exchange waits out its time-out for a reply that fits. With stale datagrams
    // queued it waits 10 ms first (and answers nothing when `finished` comes meanwhile), so
    // that a request that takes one of them for its reply ends before any answer is sent.
    void Answer(const std::vector<TDatagram>& datagrams, const std::string& closing,
                uint8_t replyType, int finished, uint16_t port, Clock::time_point called)
    {
        const auto has = [&](Phase phase) {
            return std::any_of(datagrams.begin(), datagrams.end(),
                               [&](const TDatagram& datagram) { return datagram.phase == phase; });
        };
        pollfd waits[2] = {{fd_, POLLIN, 0}, {finished, POLLIN, 0}};
        if (has(Phase::Early)) {
            std::this_thread::sleep_until(called + kEarly);
            early_.first = Clock::now();
            for (const TDatagram& datagram : datagrams)
                if (datagram.phase == Phase::Early)
                    Send(datagram, port);
            early_.second = Clock::now();
        }
        if (::poll(waits, 2, 5000) <= 0 || !(waits[0].revents & POLLIN))
            return;
        requested_ = Clock::now();
        unsigned char request[512];
        sockaddr_in sender{};
        socklen_t length = sizeof sender;
        if (::recvfrom(fd_, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&sender),
                       &length) < 4)
            return;
        if (has(Phase::Stale) && ::poll(&waits[1], 1, 10) != 0)
            return;
        const auto send = [&](const TDatagram& datagram) {
            if (datagram.fromModule && IsWholeReply(datagram.bytes, replyType))
                replied_ = true;
            Send(datagram, ntohs(sender.sin_port));
        };
        for (const TDatagram& datagram : datagrams)
            if (datagram.phase == Phase::Answer)
                send(datagram);
        send({Phase::Answer, true, closing});
        answered_ = Clock::now();
    }

    // Whether the module has sent a whole reply of the request's type since the request.
    bool Replied() const { return replied_; }
    // When the early datagrams began and ended to be sent; when the request had come (or
    // later); when the last answer was sent. None when the request never came.
    std::pair<Clock::time_point, Clock::time_point> Early() const { return early_; }
    std::optional<Clock::time_point> Requested() const { return requested_; }
    std::optional<Clock::time_point> Answered() const { return answered_; }

    // Forgets a request that nobody answered, and what was sent for the last one.
    void Drain()
    {
        replied_ = false;
        requested_.reset();
        answered_.reset();
        char request[512];
        while (::recv(fd_, request, sizeof request, MSG_DONTWAIT) >= 0) {
        }
    }

private:
    int fd_ = -1;
    int other_ = -1;
    std::atomic<bool> replied_ = false;
    // Written by the answering thread, read once it is joined.
    std::pair<Clock::time_point, Clock::time_point> early_;
    std::optional<Clock::time_point> requested_;
    std::optional<Clock::time_point> answered_;
};

Module* module = nullptr;

// The datagrams of the input. Each is either a reply of a type near the protocol's, its
// record filled with a byte of its own (its place), cut where the input says, any bytes, or
// the bytes of the one before from the same sender (a module that answers again).
std::vector<TDatagram> Datagrams(FuzzedDataProvider& input, bool search)
{
    std::vector<TDatagram> datagrams;
    while (input.remaining_bytes() > 0 && datagrams.size() < 8) {
        const auto kind = input.ConsumeIntegral<uint8_t>();
        const Phase phase = kind & 1                 ? Phase::Stale
                            : (kind & 0x10) && search ? Phase::Early
                                                      : Phase::Answer;
        TDatagram datagram{phase, (kind & 2) == 0, {}};
        if ((kind & 0x20) && !datagrams.empty()) {
            datagram.fromModule = datagrams.back().fromModule;
            datagram.bytes = datagrams.back().bytes;
        } else if (kind & 4) {
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
        if (datagram.phase == Phase::Answer && datagram.fromModule &&
            IsWholeReply(datagram.bytes, type))
            return datagram.bytes;
    return closing;
}

// A module as a search lists it: the sender's address and the MAC address of its reply.
using TModule = std::pair<std::array<uint8_t, 4>, TMacAddress>;

// The module that sent the datagram, when it is a whole search reply.
std::optional<TModule> SearchReplySender(const TDatagram& datagram)
{
    if (!IsWholeReply(datagram.bytes, kSearchReply))
        return std::nullopt;
    TModule sender{{127, 0, 0, uint8_t(datagram.fromModule ? 1 : 2)}, {}};
    std::copy_n(datagram.bytes.begin() + 24, sender.second.size(), sender.second.begin());
    return sender;
}

// Each module with a whole search reply sent in the phase, once, in the order they came,
// or (for `repeats` above one) each once its reply of that many has come.
std::vector<TModule> Modules(const std::vector<TDatagram>& datagrams, Phase phase, int repeats)
{
    std::vector<TModule> modules;
    std::map<TModule, int> replies;
    for (const TDatagram& datagram : datagrams)
        if (const auto sender = SearchReplySender(datagram);
            sender && datagram.phase == phase && ++replies[*sender] == repeats)
            modules.push_back(*sender);
    return modules;
}

bool Among(const std::vector<TModule>& modules, const TModule& one)
{
    return std::find(modules.begin(), modules.end(), one) != modules.end();
}

// The search's list against the datagrams. A module that answered is listed once, and a
// module that sent three replies while the search watched, before those; a module seen
// only before the search, or fewer than three times in its watch and not after, is not.
// Where the timing holds, that is judged whole: the early datagrams came after the search
// began to watch (that began at least kWatch before the module got the broadcast) and
// before its watch could end; the answers came before the search's last wait of 100 ms
// began, and the bound on the whole search did not end it. Else those datagrams may or may
// not have counted, and only what was listed is checked.
void CheckSearch(const TLantronixConfig& config, const std::vector<TDatagram>& datagrams,
                 Clock::time_point called, Clock::time_point returned)
{
    Require(config.DeviceCount == static_cast<int32_t>(config.Devices.size()),
            "the search counts the devices it lists");
    std::vector<TModule> listed;
    for (const TDeviceEntry& entry : config.Devices) {
        Require(entry.Name.size() <= 64, "a device's name has 64 characters at most");
        listed.emplace_back(entry.IP, entry.MAC);
    }
    const std::vector<TModule> answering = Modules(datagrams, Phase::Answer, 1);
    const std::vector<TModule> early = Modules(datagrams, Phase::Early, 1);
    for (const TModule& one : listed)
        Require(std::count(listed.begin(), listed.end(), one) == 1 &&
                    (Among(answering, one) || Among(early, one)),
                "the search lists only modules that answered it or kept answering while it "
                "watched, none from before it, each once");

    const auto [earlyFrom, earlyTo] = module->Early();
    const auto requested = module->Requested();
    const bool earlyInWatch = early.empty() || (requested && earlyFrom > *requested - kWatch &&
                                                earlyTo < called + kWatch - kEarly / 2);
    const auto answered = module->Answered();
    const bool answersRead = answered && *answered < returned - std::chrono::milliseconds(100) &&
                             returned - called < kSearchBound;
    if (!earlyInWatch)
        return;
    std::vector<TModule> expected = Modules(datagrams, Phase::Early, 3);
    Require(listed.size() >= expected.size() &&
                std::equal(expected.begin(), expected.end(), listed.begin()),
            "a module that sent three replies while the search watched is listed first, in "
            "the order they did");
    for (const TModule& one : listed)
        Require(Among(expected, one) || Among(answering, one),
                "a module seen fewer than three times while the search watched, and not "
                "after, is not listed");
    if (!answersRead)
        return;
    for (const TModule& one : answering)
        if (!Among(expected, one))
            expected.push_back(one);
    Require(listed == expected,
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
        config.SearchDevices(kSearchTimeout);
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
    const std::vector<TDatagram> datagrams = Datagrams(input, request == Request::Search);
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
        if (datagram.phase == Phase::Stale)
            module->Send(datagram, port);
    const int finished = ::eventfd(0, EFD_CLOEXEC);
    const auto called = Clock::now();
    std::thread answering(
        [&] { module->Answer(datagrams, closing, replyType, finished, port, called); });
    Run(config, request, ip, mac, expected);
    const auto returned = Clock::now();
    ::eventfd_write(finished, 1);
    answering.join();
    ::close(finished);
    if (request == Request::Search)
        CheckSearch(config, datagrams, called, returned);
    return 0;
}
