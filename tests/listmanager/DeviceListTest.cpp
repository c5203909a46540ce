// The device list commands through the real window: search, select all, add.
#include "tests/listmanager/ListManagerFixture.h"

#include "netsetup/DeviceRows.h"
#include "netsetup/ULantronix.h"
#include "platform/net/InetAddress.h"
#include "platform/shell/ShellExecute.h"
#include "platform/net/NetPorts.h"
#include "platform/net/TableResolver.h"
#include "platform/toolkit/TListView.h"
#include "simulators/DatagramFlood.h"
#include "simulators/ModuleSimulator.h"
#include "simulators/LoopbackNamespace.h"
#include "widgets/FieldEdit.h"

#include <QAction>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <memory>
#include <set>

class DeviceListTest : public ListManagerTest {
protected:
    DeviceListTest()
    {
        SetBroadcastAddressForTesting(*DottedAddress(module.Address()));
        SetConfigPortForTesting(module.Port());
        SetResolverForTesting(&names);
        pellicor::FormLantronix = &lantronix;
    }
    ~DeviceListTest() override
    {
        pellicor::FormLantronix = nullptr;
        SetResolverForTesting(nullptr);
        SetConfigPortForTesting(0);
        SetBroadcastAddressForTesting(*DottedAddress("127.0.0.1"));
    }

    // No name server is asked: the look-ups of the senders find no names.
    TableResolver names;
    ModuleSimulator module;
    TFormLantronix lantronix;
};

TEST_F(DeviceListTest, SearchReplacesTheDeviceRowsWithTheModulesThatAnswer)
{
    auto& f = Start();
    f.HostList1->AddRow("1", {"10.0.0.9", "old", ""});
    f.btnHostSearch->click();
    ASSERT_EQ(f.HostList1->Count(), 1);
    EXPECT_EQ(GetColumnText(*f.HostList1, 0, 0), "1");
    EXPECT_EQ(GetColumnText(*f.HostList1, 0, 1), "127.0.0.1");
    EXPECT_EQ(GetColumnText(*f.HostList1, 0, 3), "00-20-4A-0B-0C-0D");
    EXPECT_EQ(f.HostSelCount, 1) << "the refresh selected the row";
    EXPECT_TRUE(f.PanelLeft->isEnabled()) << "the window takes commands again";
    EXPECT_EQ(ui.BusyDepth(), 0);
}

// Peers flood the configuration socket with search replies at full rate from before each
// search: four on addresses of their own, and one at the address of three live modules (a
// sender answering for several MAC addresses). Each flooder is listed once, as any module
// that answered, and every live module once, in every run. Inside tests/support/in-netns the
// live modules answer the real broadcast (from 127.0.0.1).
TEST_F(DeviceListTest, SearchUnderAFloodListsEveryModuleOnceInEveryRun)
{
    const bool broadcast = InLoopbackOnlyNamespace();
    const std::string liveAddress = broadcast ? "127.0.0.1" : "127.0.0.4";
    std::vector<std::unique_ptr<ModuleSimulator>> live;
    if (broadcast) {
        for (uint8_t mac = 0xA0; mac < 0xA3; ++mac)
            live.push_back(
                std::make_unique<ModuleSimulator>(ModuleSimulator::AnsweringBroadcasts(mac)));
        SetBroadcastAddressForTesting(0);
        SetConfigPortForTesting(0);
    } else {
        ModuleSimulator::Options options;
        options.bindAddress = liveAddress;
        options.mac[5] = 0xA0;
        options.behind = {{{0x00, 0x20, 0x4A, 0x0B, 0x0C, 0xA1}, {}},
                          {{0x00, 0x20, 0x4A, 0x0B, 0x0C, 0xA2}, {}}};
        live.push_back(std::make_unique<ModuleSimulator>(options));
        SetBroadcastAddressForTesting(*DottedAddress(liveAddress));
        SetConfigPortForTesting(live.front()->Port());
    }
    const std::vector<std::string> liveMacs{"00-20-4A-0B-0C-A0", "00-20-4A-0B-0C-A1",
                                            "00-20-4A-0B-0C-A2"};
    auto& f = Start();
    DatagramFlood::Options flood;
    flood.peerAddresses.push_back(liveAddress);
    flood.targetPort = lantronix.Config.UDP1.LocalPort();
    flood.datagram.assign(30, 0);
    flood.datagram[3] = 0xF7;
    flood.datagram[24] = 0x02;  // a locally administered MAC, no module's
    DatagramFlood peers(flood);
    for (int run = 0; run < 3; ++run) {
        f.btnHostSearch->click();
        std::vector<std::string> rows;
        for (int row = 0; row < f.HostList1->Count(); ++row)
            rows.push_back(GetColumnText(*f.HostList1, row, 1) + " " +
                           GetColumnText(*f.HostList1, row, 3));
        for (const std::string& mac : liveMacs)
            EXPECT_EQ(std::count(rows.begin(), rows.end(), liveAddress + " " + mac), 1)
                << mac << ", run " << run;
        for (const std::string& peer : flood.peerAddresses)
            EXPECT_EQ(std::count(rows.begin(), rows.end(), peer + " 02-00-00-00-00-00"), 1)
                << peer << ", run " << run;
        EXPECT_EQ(rows.size(), 8u) << "run " << run;
    }
    EXPECT_EQ(ui.BusyDepth(), 0);
}

// Twenty modules behind one address answer each search at random times over 0.9 s (inside
// tests/support/in-netns the real broadcast): every one is a row in every run, and the
// search ends about a second after the last reply.
TEST_F(DeviceListTest, SearchListsEveryModuleOfRepliesSpreadOverASecond)
{
    using Clock = std::chrono::steady_clock;
    using std::chrono::milliseconds;
    const bool broadcast = InLoopbackOnlyNamespace();
    ModuleSimulator::Options options;
    options.bindAddress = "127.0.0.4";
    if (broadcast)
        options = ModuleSimulator::AnsweringBroadcasts(0xB0);
    auto& f = Start();
    for (int run = 0; run < 2; ++run) {
        const auto seed = static_cast<uint32_t>(Clock::now().time_since_epoch().count());
        SCOPED_TRACE("run " + std::to_string(run) + ", seed " + std::to_string(seed));
        const auto spread = ModuleSimulator::AnsweringSpread(options, 19, milliseconds(900), seed);
        ModuleSimulator sender(spread);
        SetBroadcastAddressForTesting(broadcast ? 0 : *DottedAddress(sender.Address()));
        SetConfigPortForTesting(broadcast ? 0 : sender.Port());
        auto modules = spread.behind;
        modules.push_back({spread.mac, spread.replyDelay});
        std::set<std::string> answering;
        milliseconds last{0};
        for (const auto& [mac, delay] : modules) {
            answering.insert(MacText(mac));
            last = std::max(last, delay);
        }
        const auto start = Clock::now();
        f.btnHostSearch->click();
        const auto took = Clock::now() - start;
        std::set<std::string> rows;
        for (int row = 0; row < f.HostList1->Count(); ++row)
            rows.insert(GetColumnText(*f.HostList1, row, 3));
        EXPECT_EQ(f.HostList1->Count(), 20);
        for (const std::string& mac : answering)
            EXPECT_EQ(rows.count(mac), 1u) << mac;
        // Quiet time before the last reply uses up the budget as well.
        EXPECT_GT(took, last + milliseconds(100));
        EXPECT_LT(took, last + milliseconds(1700));
    }
    EXPECT_EQ(ui.BusyDepth(), 0);
}

TEST_F(DeviceListTest, AddTakesTheTypedHostAndSelectAllSelectsEveryRow)
{
    auto& f = Start();
    f.EditHost->SetText("127.0.0.5");
    f.btnHostAdd->click();
    f.EditHost->SetText("127.0.0.6");
    f.btnHostAdd->click();
    EXPECT_EQ(f.HostList1->Count(), 2);
    EXPECT_EQ(f.EditHost->Text(), "");
    f.HostList1->SetSelected(0, false);
    f.btnHostSelectAll->click();
    EXPECT_EQ(f.HostList1->SelCount(), 2);
}

TEST_F(DeviceListTest, PingAndTelnetTargetTheSelectedDevice)
{
    std::vector<std::vector<std::string>> started;
    SetConsoleLauncherForTesting([&](const std::vector<std::string>& command) {
        started.push_back(command);
        return 0;
    });
    auto& f = Start();
    f.HostList1->AddRow("1", {"", "named", ""});
    f.SetUserMode(1);
    f.mnuHostPing->trigger();
    f.mnuHostTelnet->trigger();
    SetConsoleLauncherForTesting({});
    EXPECT_EQ(started, (std::vector<std::vector<std::string>>{{"ping", "named"},
                                                              {"telnet", "named", "9999"}}))
        << "a row without an address is reached by its hostname";
}
