#include "tests/netsetup/ModuleFixture.h"

#include "platform/net/ESocketError.h"
#include "platform/net/InetAddress.h"
#include "platform/net/NetPorts.h"
#include "platform/net/Resolver.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

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
                                                 const std::vector<uint8_t>& datagram)
{
    DatagramFlood::Options options;
    options.targetPort = config.UDP1.LocalPort();
    options.datagram = datagram;
    auto flood = std::make_unique<DatagramFlood>(options);
    // Long enough for the peers to fill the socket's queue several times over.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return flood;
}
