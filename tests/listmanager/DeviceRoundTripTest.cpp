// Send and receive through the real main window against a simulated device on 127.0.0.1.
#include "tests/listmanager/DeviceWindowFixture.h"

#include "devicelink/TCommandGate.h"
#include "devicelink/TDeviceCommands.h"
#include "matchlist/MatchList.h"
#include "platform/net/NetPorts.h"
#include "platform/text/Format.h"
#include "platform/toolkit/TListView.h"
#include "widgets/FieldEdit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <thread>

using ui::Buttons;
using ui::MsgKind;
using ui::Result;
using RowList = std::vector<std::pair<std::string, std::string>>;
using Lines = std::vector<std::string>;

using Act = DeviceSimulator::CommandRule::Action;
using DeviceRoundTripTest = DeviceWindowTest;

namespace {

DeviceSimulator::CommandRule On(std::string prefix, Act action)
{
    DeviceSimulator::CommandRule rule;
    rule.prefix = std::move(prefix);
    rule.action = action;
    return rule;
}

// Notes how many boxes had been shown when the first close reached the window.
class CloseArrival final : public QObject {
public:
    explicit CloseArrival(const ScriptedUi& ui) : ui_(ui) {}
    int boxesBefore = -1;  // -1: no close came

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Close && boxesBefore < 0)
            boxesBefore = static_cast<int>(ui_.Messages().size());
        return false;
    }

private:
    const ScriptedUi& ui_;
};

}  // namespace

TEST_F(DeviceRoundTripTest, AThousandPlatesAndTheSpecialEntriesComeBackUnchanged)
{
    auto& f = StartWithDevice();
    RowList sent;
    for (int i = 0; i < 1000; ++i) {
        sent.emplace_back(Format("P%d%s", i, i % 7 == 0 ? " X" : ""),
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

TEST_F(DeviceRoundTripTest, TheLogOfTheExchangeShowsInTheDebugViewAlsoWhenSwitchedOnAfterwards)
{
    auto& f = StartWithDevice();
    f.PlateList1->AddRow("1", {"AB12", "1"});
    f.UpdateUI();
    f.mnuSend->trigger();
    const Lines send{"Connecting to 127.0.0.1.",
                     "Connected.",
                     "> QVE",
                     "< QVEVer1.10",
                     "> QLS",
                     "< QLS00000800",
                     "> QTM",
                     "< QTM0",
                     "> CLS",
                     "< CLS",
                     "> SLSAB12=000006020002",
                     "< SLSAB12=000006020002",
                     "> QLS",
                     "< QLS00010800",
                     "Disconnecting.",
                     "Disconnected."};
    f.btnDebugClick();
    EXPECT_EQ(LogLines(), send);

    // With the view on, the next command's lines follow.
    ui.ExpectMessage(MsgKind::Confirmation,
                     "Host 127.0.0.1:\rClick Yes to confirm overwrite match-list.", Buttons::YesNo,
                     Result::No);
    f.mnuSend->trigger();
    const Lines log = LogLines();
    ASSERT_EQ(log.size(), send.size() + 10);
    EXPECT_EQ(Lines(log.begin(), log.begin() + send.size()), send);
    EXPECT_EQ(Lines(log.end() - 4, log.end()),
              (Lines{"> QTM", "< QTM0", "Disconnecting.", "Disconnected."}));
}

TEST_F(DeviceRoundTripTest, ADroppedDeviceRowReceivesItsList)
{
    device.SetList({{"ZZ1", 0x6020002}});
    auto& f = StartWithDevice();
    emit f.PlateList1->DragDrop(f.HostList1, {});
    EXPECT_EQ(PlateRows(), (RowList{{"ZZ1", "1"}}));
}

// However often the close is asked for while a command runs, one close is pending: one
// question, whose Cancel holds, and the next command ends without one.
TEST_F(DeviceRoundTripTest, ACloseDuringACommandWaitsForItsEndAndAsksOnce)
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

    f.show();
    device.SetList({{"A1", DeviceFrame(1)}, {"B2", DeviceFrame(2)}});
    int busyCloses = 0;
    for (const bool closeOnceEnded : {false, true}) {
        QTimer::singleShot(0, [&] {
            for (int i = 0; i < 3; ++i)
                busyCloses += f.DeviceCommands().Gate().Busy() && !f.close();
        });
        ui.ExpectMessage(MsgKind::Confirmation,
                         "Changes have been made!\r\rDo you want to save the changes?\r",
                         Buttons::YesNoCancel, Result::Cancel);
        f.btnReceive->click();
        if (closeOnceEnded)  // before the pending close has run: it is that close
            f.close();
        QApplication::processEvents();
        ui.VerifyDone();
    }
    EXPECT_EQ(busyCloses, 6);
    f.btnReceive->click();
    QApplication::processEvents();
    EXPECT_TRUE(f.isVisible()) << "Cancel ended the pending close: no question";
}

TEST_F(DeviceRoundTripTest, AReceiveFromADeviceThatDoesNotAnswerKeepsTheMatchList)
{
    auto& f = StartWithDevice();
    FillPlates(3);
    f.SetSpecial(1, true, "22");
    f.PlateList1->AddRow("4", {"NEW", "4"});  // counted by the next refresh only
    f.Modified = true;
    const RowList before = PlateRows();

    // Cannot be reached: the connect error as before, the window refreshed, the list kept.
    device.AddRule(On("", Act::Silent));
    const uint16_t port = device.Port();
    SetDevicePortForTesting(DeviceSimulator::UnusedPort());
    ui.ExpectMessageContaining(MsgKind::Error, "Socket Error # 111", Buttons::OK);
    f.btnReceive->click();
    ui.VerifyDone();
    EXPECT_EQ(PlateRows(), before);
    EXPECT_TRUE(f.chkNoRead->isChecked());
    EXPECT_TRUE(f.Modified);
    EXPECT_EQ(f.PlateCount, 4) << "the refresh ran";

    // Silent: no box, the list kept.
    SetDevicePortForTesting(port);
    f.btnReceive->click();
    EXPECT_EQ(device.Commands(), (Lines{"QLS"}));
    EXPECT_EQ(PlateRows(), before);
    EXPECT_EQ(f.EditNoRead->Text(), "22");
    EXPECT_TRUE(f.PanelLeft->isEnabled());

    // The exit writes the person's list, not an empty one.
    ui.ExpectMessage(MsgKind::Information, "File saved " + ListFile(), Buttons::OK);
    Destroy();
    EXPECT_EQ(ReadFile("Pellicor.lst"), "P0;1\r\nP1;2\r\nP2;3\r\nNEW;4\r\nNOREAD;22\r\n");
}

TEST_F(DeviceRoundTripTest, AReceiveThatFailsPartWayKeepsTheEntriesReceivedSoFar)
{
    device.SetList({{"A1", DeviceFrame(1)},
                    {"B2", DeviceFrame(2)},
                    {"C3", DeviceFrame(3)},
                    {"D4", DeviceFrame(4)}});
    device.AddRule(On("QLI0002", Act::Close));
    auto& f = StartWithDevice();
    FillPlates(5);
    f.SetSpecial(2, true, "33");
    f.Modified = false;
    ui.ExpectMessage(MsgKind::Error, "Error: communication failure (no acknowledge received)",
                     Buttons::CancelRetryIgnore, Result::Cancel);
    ui.ExpectMessage(MsgKind::Warning, "Warning: upload aborted", Buttons::OK);
    f.btnReceive->click();
    ui.VerifyDone();
    EXPECT_EQ(PlateRows(), (RowList{{"A1", "1"}, {"B2", "2"}}));
    EXPECT_EQ(f.PlateList1->model()->rowCount(), 2) << "the rows are in the view";
    EXPECT_FALSE(f.chkNoPlate->isChecked()) << "the list before went as a whole";
    EXPECT_TRUE(f.Modified);
    EXPECT_EQ(f.PlateCount, 2);
}

// A box blocks the window, and the window system drops a close request to a blocked window:
// a close the person asked for while a command waited must reach the window before the
// command's box, and it runs when the command has ended.
TEST_F(DeviceRoundTripTest, ACloseAskedForWhileACommandWaitsRunsOnceTheCommandHasEnded)
{
    auto& f = StartWithDevice();
    f.Modified = false;
    f.show();
    QWindow* window = f.windowHandle();
    CloseArrival arrival(ui);
    f.installEventFilter(&arrival);

    // Get device info on a device silent for a second.
    auto silentOnce = On("QVE", Act::Silent);
    silentOnce.times = 1;
    device.AddRule(silentOnce);
    std::thread person([window] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        QCoreApplication::postEvent(window, new QCloseEvent);
    });
    ui.ExpectMessageContaining(MsgKind::Information, "Device info:", Buttons::OK);
    f.mnuHostInfo->trigger();
    person.join();
    EXPECT_EQ(arrival.boxesBefore, 0) << "the close came to the window before the box";
    EXPECT_TRUE(f.isVisible()) << "and waited for the command's end";
    QApplication::processEvents();
    EXPECT_FALSE(f.isVisible());

    // A receive whose connect fails: the default handler's box comes after the command.
    f.show();
    arrival.boxesBefore = -1;
    SetDevicePortForTesting(DeviceSimulator::UnusedPort());
    QCoreApplication::postEvent(window, new QCloseEvent);
    ui.ExpectMessageContaining(MsgKind::Error, "Socket Error # 111", Buttons::OK);
    f.btnReceive->click();
    EXPECT_EQ(arrival.boxesBefore, 1);
    QApplication::processEvents();
    EXPECT_FALSE(f.isVisible());
}
