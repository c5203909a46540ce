#include "tests/netsetup/ModuleFixture.h"

#include "platform/net/ESocketError.h"
#include "platform/net/InetAddress.h"
#include "platform/net/NetPorts.h"
#include "platform/net/Resolver.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <thread>

CountingUi::CountingUi(ScriptedUi& script) : script_(script)
{
    ui::SetCurrentUi(this);
}

CountingUi::~CountingUi()
{
    ui::SetCurrentUi(&script_);
}

ui::Result CountingUi::MessageBox(ui::MsgKind kind, const std::string& text, ui::Buttons buttons)
{
    return script_.MessageBox(kind, text, buttons);
}

bool CountingUi::InputBox(const std::string& caption, const std::string& prompt, std::string& value)
{
    return script_.InputBox(caption, prompt, value);
}

std::optional<std::string> CountingUi::OpenFile(const ui::FileDialogOptions& options)
{
    return script_.OpenFile(options);
}

std::optional<std::string> CountingUi::SaveFile(const ui::FileDialogOptions& options)
{
    return script_.SaveFile(options);
}

int CountingUi::ShowModal(QWidget& window)
{
    return script_.ShowModal(window);
}

void CountingUi::ProcessMessages()
{
    pumpTimes_.push_back(std::chrono::steady_clock::now());
    if (failPumps_)
        throw ESocketError(ENETDOWN, "Network is down");
    std::this_thread::sleep_for(pumpDelay_);
    if (onPump_)
        onPump_();
    script_.ProcessMessages();
}

void CountingUi::SetBusyCursor(bool busy)
{
    script_.SetBusyCursor(busy);
}

std::optional<HostEntry> CountingResolver::GetHostByName(std::string_view name)
{
    return table_.GetHostByName(name);
}

std::optional<HostEntry> CountingResolver::GetHostByAddr(InAddr address)
{
    ++reverseLookups_;
    return table_.GetHostByAddr(address);
}

void PointConfigServiceAt(const std::string& address, uint16_t port)
{
    SetBroadcastAddressForTesting(*DottedAddress(address));
    SetConfigPortForTesting(port);
}

void ModuleFixture::SetUp()
{
    SetResolverForTesting(&resolver);
    ModuleSimulator::Options options;
    options.bindAddress = kModuleIp;
    module = std::make_unique<ModuleSimulator>(options);
    PointConfigServiceAt(kModuleIp, module->Port());
}

void ModuleFixture::TearDown()
{
    PointConfigServiceAt("127.0.0.1", 0);
    SetResolverForTesting(nullptr);
}

std::vector<uint8_t> ModuleFixture::Bytes(std::initializer_list<int> bytes)
{
    std::vector<uint8_t> result;
    for (int b : bytes)
        result.push_back(static_cast<uint8_t>(b));
    return result;
}

void SendStray(TLantronixConfig& config, const std::vector<uint8_t>& bytes, int times,
               const std::string& from)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = *DottedAddress(from);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    address.sin_port = htons(config.UDP1.LocalPort());
    address.sin_addr.s_addr = *DottedAddress("127.0.0.1");
    for (int i = 0; i < times; ++i)
        ASSERT_EQ(::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&address),
                           sizeof address),
                  static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

std::unique_ptr<ModuleSimulator>
ModuleFixture::OtherModule(std::chrono::milliseconds replyDelay) const
{
    ModuleSimulator::Options options;
    options.bindAddress = kOtherModuleIp;
    options.port = module->Port();
    options.mac[5] = 0x0E;
    options.replyDelay = replyDelay;
    return std::make_unique<ModuleSimulator>(options);
}

std::vector<uint8_t> SearchReply(uint8_t lastMacByte)
{
    std::vector<uint8_t> reply(30, 0);
    reply[3] = 0xF7;
    reply[29] = lastMacByte;
    return reply;
}

std::unique_ptr<DatagramFlood> FloodConfigSocket(TLantronixConfig& config,
                                                 const std::vector<uint8_t>& datagram,
                                                 std::vector<std::string> peers)
{
    DatagramFlood::Options options;
    options.peerAddresses = std::move(peers);
    options.targetPort = config.UDP1.LocalPort();
    options.datagram = datagram;
    auto flood = std::make_unique<DatagramFlood>(options);
    // Long enough for the peers to fill the socket's queue several times over.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return flood;
}

void SearchModulesAnsweringSpread(TLantronixConfig& config, const ModuleSimulator::Options& options,
                                  int modules,
                                  const std::function<void(const ModuleSimulator&)>& aim)
{
    using Clock = std::chrono::steady_clock;
    using std::chrono::milliseconds;
    for (int run = 0; run < 3; ++run) {
        const auto seed = static_cast<uint32_t>(Clock::now().time_since_epoch().count());
        SCOPED_TRACE("run " + std::to_string(run) + ", seed " + std::to_string(seed));
        const auto spread =
            ModuleSimulator::AnsweringSpread(options, modules - 1, milliseconds(900), seed);
        std::set<TMacAddress> answering{spread.mac};
        std::vector<milliseconds> delays{spread.replyDelay};
        for (const auto& behind : spread.behind) {
            answering.insert(behind.mac);
            delays.push_back(behind.replyDelay);
        }
        std::sort(delays.begin(), delays.end());
        const milliseconds last = delays.back();
        // A wait of 100 ms without a reply lies between two replies, or between the broadcast
        // and the first: those before the last reply use up at most this much of the budget.
        int quietBeforeLast = static_cast<int>(delays.front() / milliseconds(100));
        for (std::size_t i = 1; i < delays.size(); ++i)
            quietBeforeLast += static_cast<int>((delays[i] - delays[i - 1]) / milliseconds(100));
        ModuleSimulator sender(spread);
        aim(sender);
        const auto start = Clock::now();
        config.SearchDevices(1000);
        const auto took = Clock::now() - start;
        std::multiset<TMacAddress> listed;
        for (const TDeviceEntry& entry : config.Devices)
            listed.insert(entry.MAC);
        EXPECT_EQ(config.DeviceCount, modules);
        for (const TMacAddress& mac : answering)
            EXPECT_EQ(listed.count(mac), 1u) << "the module whose MAC ends in " << int(mac[5]);
        // Ten waits of 100 ms without a reply end it.
        EXPECT_GE(took, last + milliseconds(100) * (10 - quietBeforeLast));
        EXPECT_LT(took, last + milliseconds(1700));
    }
}
