// Send and receive through the real main window against a simulated device on 127.0.0.1.
#include "tests/listmanager/ListManagerFixture.h"

#include "devicelink/TCommandGate.h"
#include "devicelink/TDeviceCommands.h"
#include "matchlist/MatchList.h"
#include "platform/net/NetPorts.h"
#include "platform/toolkit/TListView.h"
#include "tests/support/DeviceSimulator.h"
#include "widgets/FieldEdit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

using ui::Buttons;
using ui::MsgKind;
using ui::Result;
using RowList = std::vector<std::pair<std::string, std::string>>;

class DeviceRoundTripTest : public ListManagerTest {
protected:
    DeviceRoundTripTest() { SetDevicePortForTesting(device.Port()); }
    ~DeviceRoundTripTest() override { SetDevicePortForTesting(0); }

    pellicor::TFormMain& StartWithDevice()
    {
        auto& f = Start();
        f.HostList1->AddRow("1", {device.Address(), "", ""});
        f.UpdateUI();
        return f;
    }

    DeviceSimulator device;
};

TEST_F(DeviceRoundTripTest, AThousandPlatesAndTheSpecialEntriesComeBackUnchanged)
{
    auto& f = StartWithDevice();
    RowList sent;
    for (int i = 0; i < 1000; ++i) {
        sent.emplace_back("P" + std::to_string(i) + (i % 7 == 0 ? " X" : ""),
                          std::to_string(i * 61 % 65535 + 1));
        f.PlateList1->AddRow(std::to_string(i + 1), {sent.back().first, sent.back().second});
    }
    f.SetSpecial(0, true, "11");
    f.SetSpecial(1, true, "22");
    f.SetSpecial(2, true, "33");
    f.UpdateUI();
    ASSERT_TRUE(f.btnSend->isEnabled());
    f.btnSend->click();
    EXPECT_EQ(device.List().size(), 1002u) << "the plates, NOREAD and NOPLATE";
    EXPECT_TRUE(f.ProgressBar1->isHidden());
    EXPECT_EQ(ui.BusyDepth(), 0);

    ClearMatchList(f);
    device.SetCountSpecials(true);
    f.btnReceive->click();
    EXPECT_EQ(PlateRows(), sent);
    EXPECT_TRUE(f.chkNoRead->isChecked());
    EXPECT_EQ(f.EditNoRead->Text(), "22");
    EXPECT_TRUE(f.chkNoPlate->isChecked());
    EXPECT_EQ(f.EditNoPlate->Text(), "33");
    EXPECT_TRUE(f.chkNoMatch->isChecked());
    EXPECT_EQ(f.EditNoMatch->Text(), "11");
    EXPECT_TRUE(f.PanelLeft->isEnabled()) << "the window takes commands again";
    ui.VerifyDone();
}

TEST_F(DeviceRoundTripTest, TheLogShowsTheExchangeInTheDebugView)
{
    auto& f = StartWithDevice();
    f.PlateList1->AddRow("1", {"AB12", "1"});
    f.UpdateUI();
    f.mnuSend->trigger();
    const std::string log = f.Memo1->toPlainText().toStdString();
    EXPECT_NE(log.find(" > SLSAB12=000006020002"), std::string::npos) << log;
    EXPECT_NE(log.find(" < QLS"), std::string::npos);
}

TEST_F(DeviceRoundTripTest, ADroppedDeviceRowReceivesItsList)
{
    device.SetList({{"ZZ1", 0x6020002}});
    auto& f = StartWithDevice();
    emit f.PlateList1->DragDrop(f.HostList1, {});
    EXPECT_EQ(PlateRows(), (RowList{{"ZZ1", "1"}}));
}

TEST_F(DeviceRoundTripTest, ACloseDuringACommandWaitsForItsEnd)
{
    auto& f = StartWithDevice();
    f.show();
    f.Modified = false;
    bool closedWhileBusy = false;
    {
        pellicor::TFormMain* form = &f;
        TCommandGate::TBusy busy(f.DeviceCommands().Gate());
        closedWhileBusy = form->close();
        EXPECT_TRUE(form->isVisible());
    }
    QApplication::processEvents();
    EXPECT_FALSE(closedWhileBusy);
    EXPECT_FALSE(f.isVisible()) << "the close ran once the command had ended";
}
