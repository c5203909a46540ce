// The network modules' UDP replies to each request of the configuration protocol (setup
// record read, record write and its confirmation, IP-SETUP, search), from a module on
// 127.0.0.1 that answers the request it gets with the input's datagrams. Boxes are
// answered from the input, then ended.
#include "fuzz/support/Fuzz.h"
#include "netsetup/LantronixConfig.h"
#include "platform/net/NetPorts.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

using fuzz::Require;

namespace {

enum class Request { ReadRecord, WriteConfig, WriteAssign, IPSetup, Search, kMaxValue = Search };

// The module's socket, bound to 127.0.0.1 at ConfigPort for the whole run.
class Module final {
public:
    Module()
    {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        Require(fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0,
                "the module has its socket");
        SetConfigPortForTesting(ntohs(address.sin_port));
    }

    // Waits for one request, or for `finished` to be signalled, and answers the request's
    // sender with the datagrams, then with the reply that ends a read or write, so that
    // no exchange waits out its time-out for a reply that fits.
    void Answer(std::vector<std::string> datagrams, int finished) const
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
        if (request[3] == 0xF8)
            datagrams.push_back(std::string("\0\0\0\xF9", 4) + std::string(kSetupRecordSize, '\0'));
        else if (request[3] == 0xFA || request[3] == 0xFD)
            datagrams.push_back(std::string("\0\0\0\xFB", 4));
        for (const std::string& datagram : datagrams)
            ::sendto(fd_, datagram.data(), datagram.size(), 0,
                     reinterpret_cast<const sockaddr*>(&sender), length);
    }

    // Forgets a request that nobody answered.
    void Drain() const
    {
        char request[512];
        while (::recv(fd_, request, sizeof request, MSG_DONTWAIT) >= 0) {
        }
    }

private:
    int fd_ = -1;
};

const Module* module = nullptr;

void Run(TLantronixConfig& config, Request request, const std::string& ip, const std::string& mac)
{
    const std::string host = "127.0.0.1";
    TSetupRecord record{};
    switch (request) {
    case Request::ReadRecord:
        config.GetSetupRecord(host, record);
        break;
    case Request::WriteConfig:
    case Request::WriteAssign:
        config.SetSetupRecord(host, record, request == Request::WriteAssign);
        break;
    case Request::IPSetup:
        config.SendIPSetup(ip, mac);
        break;
    case Request::Search:
        // The shortest search: one empty poll, 100 ms.
        config.SearchDevices(100);
        Require(config.DeviceCount == static_cast<int32_t>(config.Devices.size()),
                "the search counts the devices it lists");
        for (const TDeviceEntry& entry : config.Devices)
            Require(entry.Name.size() <= 64, "a device's name has 64 characters at most");
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
    std::vector<std::string> datagrams;
    while (input.remaining_bytes() > 0 && datagrams.size() < 8)
        datagrams.push_back(input.ConsumeRandomLengthString(300));

    module->Drain();
    TLantronixConfig config;
    const int finished = ::eventfd(0, EFD_CLOEXEC);
    std::thread answering([&] { module->Answer(datagrams, finished); });
    Run(config, request, ip, mac);
    ::eventfd_write(finished, 1);
    answering.join();
    ::close(finished);
    return 0;
}
