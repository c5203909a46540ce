#include "tests/netsetup/DeviceHostFake.h"
#include "tests/netsetup/ModuleFixture.h"
#include "netsetup/DeviceListCommands.h"
#include "netsetup/DeviceRows.h"
#include "platform/net/ESocketError.h"
#include "platform/net/Resolver.h"

#include <gtest/gtest.h>

namespace {

using Misbehaviour = ModuleSimulator::Misbehaviour;
using Texts = std::vector<std::string>;

class DeviceListCommands : public ModuleFixture {
protected:
    DeviceHostFake window;
};

TEST_F(DeviceListCommands, SearchReplacesEveryRowByTheModulesFound)
{
    window.AddTypedRow("10.0.0.7", "door");
    names.AddReverse(kModuleIp, "module-a.plant.example");
    module->SetMisbehaviour(Misbehaviour::Twice);

    SearchDevices(window, config);

    // The module answered twice: one row.
    ASSERT_EQ(window.hosts.Count(), 1);
    EXPECT_EQ(window.Row(0), (Texts{"1", "127.0.0.2", "module-a", "00-20-4A-0B-0C-0D"}));
    EXPECT_EQ(window.updates, 1);
    EXPECT_EQ(script.BusyDepth(), 0);

    // A second search numbers from 1 again; a module without reverse entry has an empty
    // hostname and is targeted by its address.
    module->SetMisbehaviour(Misbehaviour::None);
    TableResolver noNames;
    SetResolverForTesting(&noNames);
    SearchDevices(window, config);
    ASSERT_EQ(window.hosts.Count(), 1);
    EXPECT_EQ(window.Row(0), (Texts{"1", "127.0.0.2", "", "00-20-4A-0B-0C-0D"}));
    EXPECT_EQ(TargetHost(window.hosts, 0), "127.0.0.2");
}

TEST_F(DeviceListCommands, SearchThatFindsNothingLeavesTheListEmpty)
{
    window.AddTypedRow("10.0.0.7", "door");
    module->SetMisbehaviour(Misbehaviour::Silent);
    SearchDevices(window, config);
    EXPECT_EQ(window.hosts.Count(), 0);
    EXPECT_EQ(window.updates, 1);
}

TEST_F(DeviceListCommands, SearchFailureStillRestoresTheCursorAndRefreshes)
{
    window.AddTypedRow("10.0.0.7", "door");
    int hourglassesAtRefresh = -1;
    window.onUpdate = [&] { hourglassesAtRefresh = script.BusyDepth(); };
    pumps.FailPumps();
    EXPECT_THROW(SearchDevices(window, config), ESocketError);
    EXPECT_EQ(window.hosts.Count(), 0);
    EXPECT_EQ(window.updates, 1);
    EXPECT_EQ(hourglassesAtRefresh, 0);
}

TEST_F(DeviceListCommands, SelectAllSelectsEveryRowWithoutRefresh)
{
    for (const char* ip : {"10.0.0.1", "10.0.0.2", "10.0.0.3"})
        window.AddTypedRow(ip, ip);
    SelectAllDevices(window);
    EXPECT_EQ(window.hosts.SelCount(), 3);
    EXPECT_EQ(window.updates, 0);
}

TEST_F(DeviceListCommands, AddTakesEditHostThenEmptiesFocusesAndRefreshes)
{
    names.AddReverse("10.0.0.7", "door.plant.example");
    window.editHost = "10.0.0.7";
    AddDeviceFromEditHost(window);
    window.editHost = "10.0.0.7";
    AddDeviceFromEditHost(window);
    ASSERT_EQ(window.hosts.Count(), 2);  // no duplicate check
    EXPECT_EQ(window.Row(1), (Texts{"2", "10.0.0.7", "door", ""}));

    window.editHost = "   ";
    AddDeviceFromEditHost(window);
    EXPECT_EQ(window.hosts.Count(), 2);
    EXPECT_EQ(window.editHost, "");
    EXPECT_EQ(window.focused, 3);
    EXPECT_EQ(window.updates, 3);
}

}  // namespace
