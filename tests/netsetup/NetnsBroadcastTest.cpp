#include "tests/netsetup/DeviceHostFake.h"
#include "tests/netsetup/ModuleFixture.h"
#include "tests/platform/net/SocketOptionMemory.h"
#include "netsetup/InitialConfig.h"
#include "platform/net/NetPorts.h"
#include "platform/net/Resolver.h"
#include "simulators/LoopbackNamespace.h"

#include <gtest/gtest.h>

namespace {

using std::chrono::milliseconds;

// Two modules on the production port get the real broadcast 255.255.255.255.
class Broadcast : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!InLoopbackOnlyNamespace())
            GTEST_SKIP() << "needs the network namespace of tests/support/in-netns";
        SetResolverForTesting(&names);
        for (int i = 0; i < 2; ++i) {
            auto options = ModuleSimulator::AnsweringBroadcasts(static_cast<uint8_t>(0xA0 + i));
            // The second answers later, so the order of arrival is known.
            options.replyDelay = milliseconds(200 * i);
            modules[i] = std::make_unique<ModuleSimulator>(options);
        }
        SetBroadcastAddressForTesting(0);
        SetConfigPortForTesting(0);
    }
    void TearDown() override
    {
        PointConfigServiceAt("127.0.0.1", 0);
        SetResolverForTesting(nullptr);
    }

    ScriptedUi script;
    TableResolver names;
    std::unique_ptr<ModuleSimulator> modules[2];
    TLantronixConfig config;
};

// Also when more stray datagrams are queued than the socket holds: search replies of a
// module that answers no more, or confirmations nobody waits for.
TEST_F(Broadcast, SearchFindsEveryModuleInOrderOfArrival)
{
    names.AddReverse("127.0.0.1", "localhost");
    const std::vector<uint8_t> confirmation{0, 0, 0, 0xFB};
    for (const auto& stray : {std::vector<uint8_t>{}, SearchReply(0), confirmation}) {
        if (!stray.empty())
            SendStray(config, stray, static_cast<int>(config.UDP1.QueueCapacity()) + 100,
                      "127.0.0.2");
        config.SearchDevices(1000);
        ASSERT_EQ(config.DeviceCount, 2);
        EXPECT_EQ(config.Devices[0].MAC[5], 0xA0);
        EXPECT_EQ(config.Devices[1].MAC[5], 0xA1);
        EXPECT_EQ(config.Devices[0].Name, "localhost");
        EXPECT_EQ(config.Devices[1].IP, (std::array<uint8_t, 4>{127, 0, 0, 1}));
    }
}

// Thirty modules answering the real broadcast at random times over 0.9 s, in place of the
// fixture's two.
TEST_F(Broadcast, ModulesAnsweringSpreadOverASecondAreAllListed)
{
    for (auto& module : modules)
        module.reset();
    SearchModulesAnsweringSpread(config, ModuleSimulator::AnsweringBroadcasts(0xB0), 30,
                                 [](const ModuleSimulator&) {});
}

TEST_F(Broadcast, IPSetupReachesOnlyTheModuleWithThatMac)
{
    config.SendIPSetup("10.1.2.3", "00-20-4A-0B-0C-A1");
    for (auto& module : modules)
        ASSERT_TRUE(module->WaitForReceived(1, milliseconds(1000)));
    const auto first = modules[0]->GetRecord();
    const auto second = modules[1]->GetRecord();
    EXPECT_EQ(std::vector(first.begin(), first.begin() + 4), std::vector<uint8_t>(4, 0));
    EXPECT_EQ(std::vector(second.begin(), second.begin() + 4), (std::vector<uint8_t>{10, 1, 2, 3}));
}

// Every exchange works as on a default system also where the system refuses the
// configuration socket's filter for want of option memory (inside tests/support/in-netns;
// 512 bytes: an exchange's filter; 256: the search's; 128: any): each request goes out, and
// the socket tells datagrams apart as it reads them. Meanwhile another module's records come
// every millisecond, to be told apart.
class RefusedFilter : public ModuleFixture {};

TEST_F(RefusedFilter, EveryExchangeWorksAsOnADefaultSystem)
{
    ModuleSimulator::Record record{};
    record[21] = 0x28;  // the data port differs: Initialize config writes
    DatagramFlood::Options options;
    options.peerAddresses = {kOtherModuleIp};
    options.datagram.assign(124, 0x33);
    options.datagram[0] = options.datagram[1] = options.datagram[2] = 0;
    options.datagram[3] = 0xF9;
    options.interval = std::chrono::microseconds(1000);
    for (const int memory : SocketOptionMemory::Bounds()) {
        SCOPED_TRACE("option memory " + std::to_string(memory));
        const SocketOptionMemory bound(memory);
        TLantronixConfig refused;
        options.targetPort = refused.UDP1.LocalPort();
        const DatagramFlood otherRecords(options);
        module->SetRecord(record);
        const std::size_t before = module->Received().size();

        module->SetMisbehaviour(ModuleSimulator::Misbehaviour::Twice, 1);
        refused.SearchDevices(200);
        ASSERT_EQ(refused.DeviceCount, 1);
        EXPECT_EQ(refused.Devices[0].MAC, (TMacAddress{0x00, 0x20, 0x4A, 0x0B, 0x0C, 0x0D}));

        TSetupRecord read{};
        EXPECT_TRUE(refused.GetSetupRecord(kModuleIp, read));
        EXPECT_EQ(read, record);
        EXPECT_TRUE(refused.SetSetupRecord(kModuleIp, read, true));

        DeviceHostFake window;
        window.AddTypedRow(kModuleIp, "module-a");
        window.hosts.SetSelected(0, true);
        script.ExpectMessage(ui::MsgKind::Information, "OK, initialization done (device reboots)",
                             ui::Buttons::OK);
        InitializeConfig(window, refused);
        EXPECT_EQ(module->GetRecord()[21], 0x27);

        refused.SendIPSetup("10.1.2.3", "00-20-4A-0B-0C-0D");
        ASSERT_TRUE(module->WaitForReceived(before + 6, std::chrono::milliseconds(1000)));
        EXPECT_EQ(module->GetRecord()[3], 3);
    }
}

}  // namespace
