// Enter in the main window: Enter-as-Tab in the plate field, a focused button takes Enter
// itself, also after the device command it ran, and Add takes the rest.
#include "tests/listmanager/DeviceWindowFixture.h"

#include "platform/toolkit/TListView.h"
#include "widgets/FieldEdit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>

using RowList = std::vector<std::pair<std::string, std::string>>;
using CommandFocusTest = DeviceWindowTest;

namespace {

// Keys go where the person's keys go: to the widget that has the focus now.
void Type(const char* text)
{
    QApplication::processEvents();
    QTest::keyClicks(QApplication::focusWidget(), text);
}

void Enter()
{
    QApplication::processEvents();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents();
}

void ShowActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

void TabTo(QWidget* target)
{
    for (int i = 0; i < 50 && QApplication::focusWidget() != target; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), target);
}

}  // namespace

TEST_F(ListManagerTest, PlateEnterIdNumberEnterAddsTheEntry)
{
    auto& f = Start();
    ShowActive(f);
    f.EditPlate->setFocus();
    Type("HK55EVB");
    Enter();
    EXPECT_EQ(QApplication::focusWidget(), f.EditNumber) << "Enter in the plate field is Tab";
    EXPECT_EQ(f.PlateList1->Count(), 0) << "and nothing else";
    Type("333");
    Enter();
    EXPECT_EQ(PlateRows(), (RowList{{"HK55EVB", "333"}}));
    EXPECT_EQ(f.EditPlate->Text(), "");
    EXPECT_EQ(f.EditNumber->Text(), "");
    EXPECT_EQ(QApplication::focusWidget(), f.EditPlate);

    // The next entry the same way, with the keypad's Enter.
    Type("AB99YZ");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    Type("22");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    QApplication::processEvents();
    EXPECT_EQ(PlateRows(), (RowList{{"HK55EVB", "333"}, {"AB99YZ", "22"}}));
}

TEST_F(ListManagerTest, FocusedButtonTakesEnterItself)
{
    auto& f = Start();
    f.HostList1->AddRow("1", {"127.0.0.1", "", ""});
    f.HostList1->AddRow("2", {"127.0.0.2", "", ""});
    f.HostList1->SetSelected(1, false);
    ShowActive(f);
    f.EditPlate->SetText("AB12");
    f.EditNumber->SetText("5");

    f.btnHostSelectAll->setFocus();
    Enter();
    EXPECT_EQ(f.HostList1->SelCount(), 2) << "Select All ran";
    EXPECT_EQ(f.PlateList1->Count(), 0) << "Add did not";
    EXPECT_EQ(QApplication::focusWidget(), f.btnHostSelectAll);

    f.btnAdd->setFocus();
    Enter();
    EXPECT_EQ(PlateRows(), (RowList{{"AB12", "5"}})) << "Add itself, once";

    // A check box is no button: Add takes its Enter.
    f.mnuUserExpert->trigger();
    f.EditPlate->SetText("CD34");
    f.EditNumber->SetText("6");
    f.chkNoMatch->setFocus();
    Enter();
    EXPECT_EQ(PlateRows(), (RowList{{"AB12", "5"}, {"CD34", "6"}}));
    EXPECT_FALSE(f.chkNoMatch->isChecked());
}

// A device command disables the window while it runs; when it ends, the focus is back on
// the control that had it, so a second Enter on the command's button runs the command again
// and never Add. Else the focus goes to the first control of the edit page on view.
TEST_F(CommandFocusTest, AfterADeviceCommandTheFocusIsBackElseOnTheFirstControlOfThePage)
{
    device.SetList({{"ZZ1", DeviceFrame(1)}});
    auto& f = StartWithDevice();
    ShowActive(f);
    f.EditPlate->SetText("AB12");
    f.EditNumber->SetText("5");
    f.EditNumber->setFocus();
    TabTo(f.btnReceive);
    Enter();
    Enter();
    EXPECT_EQ(device.Commands(),
              (std::vector<std::string>{"QLS", "QLI0000", "QNF", "QLS", "QLI0000", "QNF"}))
        << "two receives";
    EXPECT_EQ(PlateRows(), (RowList{{"ZZ1", "1"}})) << "Add never ran";
    EXPECT_EQ(QApplication::focusWidget(), f.btnReceive);

    // The device holds no NOREAD entry: the receive hides the field that had the focus.
    f.SetUserMode(1);
    f.SetSpecial(1, true, "22");
    f.UpdateUI();
    f.EditNoRead->setFocus();
    f.mnuReceive->trigger();
    EXPECT_EQ(QApplication::focusWidget(), f.EditPlate);

    f.PageControlEditPlate->setCurrentWidget(f.tsWiegandFormat);
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();
    f.mnuReceive->trigger();
    EXPECT_EQ(QApplication::focusWidget(), f.EditWiegandLen) << "none had it";
}
