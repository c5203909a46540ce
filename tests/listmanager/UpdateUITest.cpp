// The window refresh: user modes, the Wiegand page, enabling by selection, Modified.
#include "tests/listmanager/ListManagerFixture.h"

#include "platform/toolkit/TListView.h"
#include "widgets/FieldEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

namespace {

std::string Status(const pellicor::TFormMain& f)
{
    return f.StatusBar1->currentMessage().toStdString();
}

}  // namespace

TEST_F(ListManagerTest, GuestHidesTheExpertControlsAndShrinksThePages)
{
    auto& f = Start();
    f.show();
    f.PageControlEditPlate->setCurrentWidget(f.tsEditPlate);
    f.UpdateUI();
    for (QWidget* w : {f.PanelPlateBottom, f.PanelHostEdit, f.PanelHidden})
        EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();
    for (QAction* a : {f.mnuPlateDeleteDuplicates, f.mnuHostAssignIP, f.mnuHostInitCfg,
                       f.mnuHostTelnet, f.mnuHostPing, f.mnuHostTerminal})
        EXPECT_FALSE(a->isVisible()) << a->objectName().toStdString();
    for (QAction* a : {f.mnuHostSearch, f.mnuHostInfo, f.mnuPlateClearList})
        EXPECT_TRUE(a->isVisible()) << a->objectName().toStdString();
    EXPECT_FALSE(f.PageControlEditPlate->isTabVisible(1));
    EXPECT_EQ(f.PageControlEditPlate->height(), 90);
    EXPECT_EQ(f.PageControlEditHost->height(), 90);

    f.mnuUserExpert->trigger();
    EXPECT_EQ(f.UserMode, 1);
    for (QWidget* w : {f.PanelPlateBottom, f.PanelHostEdit, f.PanelHidden})
        EXPECT_FALSE(w->isHidden()) << w->objectName().toStdString();
    EXPECT_TRUE(f.mnuHostTerminal->isVisible());
    EXPECT_TRUE(f.PageControlEditPlate->isTabVisible(1));
    EXPECT_EQ(f.PageControlEditPlate->height(), 175);
    EXPECT_EQ(f.PageControlEditHost->height(), 175);

    f.mnuUserGuest->trigger();
    EXPECT_EQ(f.UserMode, 0);
    EXPECT_TRUE(f.PanelPlateBottom->isHidden());
    EXPECT_EQ(f.PageControlEditPlate->height(), 90);
}

TEST_F(ListManagerTest, InvalidFormatBringsTheWiegandPageForwardUntilMended)
{
    auto& f = Start();
    f.show();
    f.EditWiegandLen->SetText("47");
    EXPECT_EQ(Status(f), "Wiegand format invalid");
    EXPECT_TRUE(f.EditWiegandLen->ErrorState());
    EXPECT_EQ(f.PageControlEditPlate->currentWidget(), f.tsWiegandFormat);
    EXPECT_EQ(f.PageControlEditPlate->height(), 175);
    EXPECT_FALSE(f.btnSend->isEnabled());

    f.PageControlEditPlate->setCurrentWidget(f.tsEditPlate);
    EXPECT_EQ(f.PageControlEditPlate->currentWidget(), f.tsWiegandFormat)
        << "the plate page cannot be reached while the format is invalid";

    f.EditWiegandLen->SetText("34");
    EXPECT_EQ(Status(f), "Wiegand 34-bit FC1");
    EXPECT_EQ(f.MaxId, 16777215);
    f.PageControlEditPlate->setCurrentWidget(f.tsEditPlate);
    EXPECT_EQ(f.PageControlEditPlate->currentWidget(), f.tsEditPlate);
    EXPECT_FALSE(f.PageControlEditPlate->isTabVisible(1));
}

TEST_F(ListManagerTest, HugeWiegandFieldsMarkTheFormatWithoutOverflow)
{
    auto& f = Start();
    f.EditWiegandFCVal->SetText("99999999");
    EXPECT_TRUE(f.EditWiegandFCVal->ErrorState());
    f.EditWiegandLen->SetText("99999999999999999999999");
    f.EditWiegandFCLen->SetText("");
    EXPECT_EQ(Status(f), "Wiegand format invalid");
    f.chkWiegandFCEnable->setChecked(false);
    EXPECT_FALSE(f.EditWiegandFCVal->ErrorState()) << "the facility fields lose their marks";
    EXPECT_TRUE(f.EditWiegandFCVal->isHidden());
}

TEST_F(ListManagerTest, CommandsFollowTheDeviceSelection)
{
    auto& f = Start();
    f.UpdateUI();
    EXPECT_FALSE(f.btnSend->isEnabled()) << "no device rows";
    EXPECT_FALSE(f.mnuHostInfo->isEnabled());

    f.HostList1->AddRow("1", {"127.0.0.1", "", ""});
    f.HostList1->AddRow("2", {"127.0.0.2", "", ""});
    f.UpdateUI();
    EXPECT_EQ(f.HostSelCount, 2) << "no selection: the refresh selects every row";
    EXPECT_TRUE(f.btnSend->isEnabled());
    EXPECT_TRUE(f.mnuSend->isEnabled());
    EXPECT_FALSE(f.btnReceive->isEnabled());
    EXPECT_FALSE(f.mnuReceive->isEnabled());
    EXPECT_FALSE(f.mnuHostInfo->isEnabled());

    f.HostList1->SetSelected(1, false);
    f.SetUserMode(1);  // the single-device commands are Expert items, hidden for a guest
    EXPECT_EQ(f.HostSelCount, 1);
    EXPECT_TRUE(f.btnReceive->isEnabled());
    for (QAction* a : {f.mnuHostAssignIP, f.mnuHostInitCfg, f.mnuHostInfo, f.mnuHostTelnet,
                       f.mnuHostPing, f.mnuHostTerminal})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();

    f.chkWiegandAddParity->setChecked(false);
    f.EditWiegandLen->SetText("7");  // shorter than the facility code
    EXPECT_FALSE(f.btnSend->isEnabled());
    EXPECT_FALSE(f.btnReceive->isEnabled());
}

TEST_F(ListManagerTest, EachInputChangeSetsModified)
{
    auto& f = Start();
    const auto changes =
        std::vector<std::function<void()>>{[&] { f.EditPlate->SetText("AB"); },
                                           [&] { f.EditNumber->SetText("1"); },
                                           [&] { f.EditNoMatch->SetText("2"); },
                                           [&] { f.EditNoRead->SetText("3"); },
                                           [&] { f.EditNoPlate->SetText("4"); },
                                           [&] { f.EditWiegandLen->SetText("30"); },
                                           [&] { f.EditWiegandFCVal->SetText("2"); },
                                           [&] { f.EditWiegandFCLen->SetText("7"); },
                                           [&] { f.chkNoMatch->setChecked(true); },
                                           [&] { f.chkNoRead->setChecked(true); },
                                           [&] { f.chkNoPlate->setChecked(true); },
                                           [&] { f.chkWiegandFCEnable->setChecked(false); },
                                           [&] { f.chkWiegandAddParity->setChecked(false); }};
    for (size_t i = 0; i < changes.size(); ++i) {
        f.Modified = false;
        changes[i]();
        EXPECT_TRUE(f.Modified) << "change " << i;
    }
}

TEST_F(ListManagerTest, DebugButtonTogglesTheLogView)
{
    auto& f = Start();
    f.btnDebug->click();
    EXPECT_TRUE(f.DebugView);
    EXPECT_TRUE(f.mnuGenerateDummyList->isVisible());
    EXPECT_FALSE(f.Memo1->isHidden());
    f.btnDebug->click();
    EXPECT_TRUE(f.Memo1->isHidden());
}

TEST_F(ListManagerTest, CtrlNRefreshesAsOpeningTheFileMenuDoes)
{
    auto& f = Start();
    f.HostList1->AddRow("1", {"127.0.0.1", "", ""});
    f.HostList1->AddRow("2", {"127.0.0.2", "", ""});
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    f.HostList1->ClearSelection();
    f.Modified = false;
    QTest::keyClick(&f, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(f.HostSelCount, 2) << "the refresh selected every device row";
    EXPECT_FALSE(f.Modified) << "it clears nothing and asks nothing";
    ui.VerifyDone();
}
