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

// Twenty modules behind one address answer each search at random times over 0.9 s, while
// peers flood the configuration socket with search replies at full rate from before it:
// four on addresses of their own, one at the modules' address (a sender answering for
// several MAC addresses). In every run each module and each peer is one row, and the search
// ends about a second after the last reply. Inside tests/support/in-netns the modules
// answer the real broadcast (from 127.0.0.1).
TEST_F(DeviceListTest, SearchListsEveryModuleOnceUnderAFloodOfRepliesSpreadOverASecond)
{
    using Clock = std::chrono::steady_clock;
    using std::chrono::milliseconds;
    const bool broadcast = InLoopbackOnlyNamespace();
    ModuleSimulator::Options options;
    options.bindAddress = "127.0.0.4";
    if (broadcast)
        options = ModuleSimulator::AnsweringBroadcasts(0xA0);
    const std::string liveAddress = broadcast ? "127.0.0.1" : options.bindAddress;
    auto& f = Start();
    DatagramFlood::Options flood;
    flood.peerAddresses.push_back(liveAddress);
    flood.targetPort = lantronix.Config.UDP1.LocalPort();
    flood.datagram.assign(30, 0);
    flood.datagram[3] = 0xF7;
    flood.datagram[24] = 0x02;  // a locally administered MAC, no module's
    DatagramFlood peers(flood);
    for (int run = 0; run < 2; ++run) {
        const auto seed = static_cast<uint32_t>(Clock::now().time_since_epoch().count());
        SCOPED_TRACE("run " + std::to_string(run) + ", seed " + std::to_string(seed));
        const auto spread = ModuleSimulator::AnsweringSpread(options, 19, milliseconds(900), seed);
        ModuleSimulator sender(spread);
        SetBroadcastAddressForTesting(broadcast ? 0 : *DottedAddress(liveAddress));
        SetConfigPortForTesting(broadcast ? 0 : sender.Port());
        // Address and MAC address of each row.
        std::vector<std::string> expected{liveAddress + " " + MacText(spread.mac)};
        milliseconds last = spread.replyDelay;
        for (const auto& [mac, delay] : spread.behind) {
            expected.push_back(liveAddress + " " + MacText(mac));
            last = std::max(last, delay);
        }
        for (const std::string& peer : flood.peerAddresses)
            expected.push_back(peer + " 02-00-00-00-00-00");
        const auto start = Clock::now();
        f.btnHostSearch->click();
        const auto took = Clock::now() - start;
        std::vector<std::string> rows;
        for (int row = 0; row < f.HostList1->Count(); ++row)
            rows.push_back(GetColumnText(*f.HostList1, row, 1) + " " +
                           GetColumnText(*f.HostList1, row, 3));
        std::sort(rows.begin(), rows.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(rows, expected);
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
