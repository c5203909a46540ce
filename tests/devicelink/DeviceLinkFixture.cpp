#include "DeviceLinkFixture.h"

#include "platform/net/NetPorts.h"
#include "platform/ui/SessionEnd.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <csignal>

DeviceLinkFixture::DeviceLinkFixture()
{
    SetDevicePortForTesting(device.Port());
    context.hosts = {"127.0.0.1"};
}

DeviceLinkFixture::~DeviceLinkFixture()
{
    Connection().DisconnectDevice();
    SetDevicePortForTesting(0);
}

void DeviceLinkFixture::Connect()
{
    ASSERT_TRUE(Connection().ConnectDevice("127.0.0.1"));
    context.log.clear();
}

std::vector<std::string> DeviceLinkFixture::LogFrom(const std::string& from) const
{
    const auto first =
        std::find_if(context.log.begin(), context.log.end(),
                     [&](const std::string& line) { return line.rfind(from, 0) == 0; });
    return {first, context.log.end()};
}

std::vector<std::string> DeviceLinkFixture::LoggedCommands() const
{
    std::vector<std::string> sent;
    for (const std::string& line : context.log)
        if (line.rfind("> ", 0) == 0)
            sent.push_back(line.substr(2));
    return sent;
}

void DeviceLinkFixture::PointAtAClosedPort()
{
    SetDevicePortForTesting(DeviceSimulator::UnusedPort());
}

std::unique_ptr<DeviceSimulator> DeviceLinkFixture::SecondDevice()
{
    DeviceSimulator::Options options;
    options.bindAddress = "127.0.0.2";
    options.port = device.Port();
    return std::make_unique<DeviceSimulator>(options);
}

std::string DeviceLinkFixture::EndTheSessionDuring(const std::function<void()>& command,
                                                   const std::string& signalAt)
{
    ui::SessionEnd end;
    context.onLog = [signalAt](const std::string& text) {
        if (text.rfind(signalAt, 0) == 0)
            ::raise(SIGTERM);
    };
    QTimer::singleShot(0, qApp, command);
    // Should the end not come, the loop is ended all the same and the test fails.
    QTimer::singleShot(30000, qApp, [] { QCoreApplication::exit(1); });
    testing::internal::CaptureStderr();
    EXPECT_EQ(end.Exec(), 0);
    context.onLog = {};
    return testing::internal::GetCapturedStderr();
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values)
        bytes += static_cast<char>(v);
    return bytes;
}

DeviceSimulator::CommandRule On(std::string prefix, Act action, std::string bytes, int times)
{
    DeviceSimulator::CommandRule rule;
    rule.prefix = std::move(prefix);
    rule.action = action;
    rule.bytes = std::move(bytes);
    rule.times = times;
    return rule;
}

DeviceSimulator::BlockRule OnBlock(int index, BlockAct action, uint8_t reply, int times)
{
    DeviceSimulator::BlockRule rule;
    rule.index = index;
    rule.action = action;
    rule.reply = reply;
    rule.times = times;
    return rule;
}
