// The device list commands through the real window: search, select all, add.
#include "tests/listmanager/ListManagerFixture.h"

#include "netsetup/ULantronix.h"
#include "platform/net/InetAddress.h"
#include "platform/shell/ShellExecute.h"
#include "platform/net/NetPorts.h"
#include "platform/toolkit/TListView.h"
#include "simulators/ModuleSimulator.h"
#include "widgets/FieldEdit.h"

#include <QAction>
#include <QPushButton>

class DeviceListTest : public ListManagerTest {
protected:
    DeviceListTest()
    {
        SetBroadcastAddressForTesting(*DottedAddress(module.Address()));
        SetConfigPortForTesting(module.Port());
        pellicor::FormLantronix = &lantronix;
    }
    ~DeviceListTest() override
    {
        pellicor::FormLantronix = nullptr;
        SetConfigPortForTesting(0);
        SetBroadcastAddressForTesting(*DottedAddress("127.0.0.1"));
    }

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
