#include "tests/netsetup/ModuleFixture.h"
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

}  // namespace
